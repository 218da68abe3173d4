#include "CliRunner.h"

#include "images/BTCImageObject.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

std::string WritePng(const fixtures::TempDir& dir, const std::string& name,
                     const BTCImageData& image) {
    BTCImageObject png;
    png.Attach(image);
    const std::string path = (dir / name).string();
    EXPECT_TRUE(png.Save(path, BTCImageObject::CodecPNG));
    return path;
}

SpriteWad Read(const std::string& path) {
    SpriteWad wad;
    const swd::Result r = swd::ReadSwdFile(path, wad);
    EXPECT_TRUE(r.ok()) << r.message;
    return wad;
}

std::vector<BTCImageData> TexturesOf(const SpriteWad& wad, std::size_t first, std::size_t count) {
    return {wad.m_textures.begin() + static_cast<std::ptrdiff_t>(first),
            wad.m_textures.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

// The small wad: 463 owns textures 2..4, 460 owns 0..1, 494 is empty and starts at 5.
TEST(CliSplit, AppendsPiecesBehindTheObjectsTexturesAndShiftsTheOthers) {
    struct Case {
        std::string slot;
        bool pad;
        std::vector<std::uint16_t> firsts; // of 463, 460, 494 and a created object
        std::size_t object, pieceStart;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"460",
         true,
         {8, 0, 11},
         1,
         2,
         "Added 6 pieces to 460: SKY_GRAPHICS, which now holds 8 textures\n"},
        {"463",
         false,
         {2, 0, 11},
         0,
         5,
         "Added 6 pieces to 463: DEFAULT_SPRITES, which now holds 9 textures\n"},
        {"494",
         false,
         {2, 0, 5},
         2,
         5,
         "Added 6 pieces to 494: CUSTOM_SPRITES, which now holds 6 textures\n"},
        {"500",
         true,
         {2, 0, 11, 5},
         3,
         5,
         "Added 6 pieces to 500: UNKNOWN_SPRITES, which now holds 6 textures\n"},
    };
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const BTCImageData image = fixtures::MakeTexture(300, 200, 11);
    const std::string png = WritePng(dir, "image.png", image);
    const SpriteWad before = Read(in);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        const std::string out = (dir / ("out" + c.slot + ".swd")).string();
        std::vector<std::string> args{"split", in, c.slot, png, out, "--piece", "128x128"};
        if (c.pad) {
            args.push_back("--pad");
        }
        const auto run = RunCli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.out.ends_with(c.message)) << run.out;
        const SpriteWad after = Read(out);
        ASSERT_EQ(after.ObjectCount(), c.firsts.size());
        for (std::size_t k = 0; k < c.firsts.size(); ++k) {
            EXPECT_EQ(after.m_sequences[k].firstTexture, c.firsts[k]) << "object " << k;
        }
        EXPECT_EQ(after.m_sequences[c.object].slotId, std::stoul(c.slot));
        EXPECT_TRUE(
            fixtures::PiecesMatchSplit(image, 128, 128, c.pad, TexturesOf(after, c.pieceStart, 6)));
        // The textures that were there before are all still there, in their runs.
        for (std::size_t k = 0; k < before.ObjectCount(); ++k) {
            const ObjectSequence& old = before.m_sequences[k];
            EXPECT_TRUE(TexturesOf(after, after.m_sequences[k].firstTexture, old.TextureCount()) ==
                        TexturesOf(before, old.firstTexture, old.TextureCount()))
                << "object " << k;
        }
    }
}

TEST(CliSplit, StopsAtTheObjectLimitAndWritesNothing) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    // 182 x 182 single pixels: more than an object may hold.
    const std::string png = WritePng(dir, "dots.png", fixtures::MakeTexture(182, 182, 3));
    const std::string out = (dir / "out.swd").string();
    const auto run = RunCli({"split", in, "460", png, out, "--piece", "1x1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vornix-cli: Only 32765 pieces fit: an object holds at most 32767 textures "
                       "and a sprite wad at most 65535\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(CliResize, ResizesTheLinesOfTheObjectByTheRangeRules) {
    struct Case {
        std::vector<std::string> options;
        std::string first, last;
        std::vector<std::string> sizes; // of 463's three textures
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--size", "64x64", "--keep-aspect"}, "0", "2", {"64x64", "64x64", "64x1"}, "3"},
        {{"--size", "20x10"}, "1", "2", {"56x56", "20x10", "20x10"}, "2"},
        {{"--size", "20x10", "--filter", "bilinear"}, "0", "0", {"20x10", "1x1", "256x3"}, "1"},
        {{"--size", "20x10"}, "2", "1", {"56x56", "1x1", "256x3"}, "0"},
    };
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const SpriteWad before = Read(in);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first + ".." + c.last + " " + c.options[1]);
        const std::string out = (dir / "out.swd").string();
        std::vector<std::string> args{"resize", in, "463", c.first, c.last, out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto run = RunCli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.out.ends_with("Resized " + c.message + " textures of object 463\n"))
            << run.out;
        const SpriteWad after = Read(out);
        EXPECT_EQ(after.m_sequences, before.m_sequences);
        std::vector<std::string> sizes;
        for (int line = 0; line < 3; ++line) {
            const SpriteTexture& t = after.ObjectTexture(0, line);
            sizes.push_back(std::to_string(t.GetWidth()) + "x" + std::to_string(t.GetHeight()));
        }
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_TRUE(TexturesOf(after, 0, 2) == TexturesOf(before, 0, 2))
            << "460's textures changed";
    }
    // Stretching 56 x 56 to twice its size repeats every pixel as a 2 x 2 block.
    const std::string out = (dir / "double.swd").string();
    ASSERT_EQ(RunCli({"resize", in, "463", "0", "0", out, "--size", "112x112"}).exitCode, 0);
    const SpriteTexture& doubled = Read(out).ObjectTexture(0, 0);
    const SpriteTexture& original = before.ObjectTexture(0, 0);
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 112; ++x) {
            ASSERT_EQ(fixtures::PixelAt(doubled, x, y), fixtures::PixelAt(original, x / 2, y / 2))
                << x << "," << y;
        }
    }
}

TEST(CliSplitResize, BadRequestsAreRefusedAndWriteNothing) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string damaged =
        WriteSample(dir, "damaged.swd", fixtures::SmallWad().StatedSequenceCount(9).Build());
    const std::string png = WritePng(dir, "image.png", fixtures::MakeTexture(8, 8, 1));
    const std::string out = (dir / "out.swd").string();
    const std::string missing = (dir / "none.png").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"split", in, "460", png, out}, 2, "split needs --piece WxH"},
        {{"split", in, "460", png, out, "--piece", "0x5"},
         2,
         "the piece size \"0x5\" is not WxH with sides 1 to 256"},
        {{"split", in, "460", png, out, "--piece", "257x5"},
         2,
         "the piece size \"257x5\" is not WxH with sides 1 to 256"},
        {{"split", in, "460", png, out, "--piece"}, 2, "--piece needs a value"},
        {{"split", in, "460", png, out, "--piece", "8x8", "--pad", "--pad"},
         2,
         "--pad is given twice"},
        {{"split", in, "46x", png, out, "--piece", "8x8"}, 2, "the slot \"46x\" is not a number"},
        {{"split", in, "460", png, "--piece", "8x8"},
         2,
         "split takes an input file, a slot, an image and an output file"},
        {{"split", in, "460", png, out, "--piece", "8x8", "--fast"}, 2, "unknown option --fast"},
        {{"split", damaged, "460", png, out, "--piece", "8x8"}, 1, "This sprite wad is damaged"},
        {{"split", in, "460", missing, out, "--piece", "8x8"}, 1, ""},
        {{"resize", in, "463", "0", "2", out}, 2, "resize needs --size WxH"},
        {{"resize", in, "463", "0", out, "--size", "8x8"},
         2,
         "resize takes an input file, a slot, the first and last line and an output file"},
        {{"resize", in, "463", "-1", "2", out, "--size", "8x8"},
         2,
         "the slot and the first and last line must be numbers"},
        {{"resize", in, "463", "0", "2", out, "--size", "8x8", "--filter", "cubic"},
         2,
         "the filter must be stretch or bilinear"},
        {{"resize", in, "999", "0", "0", out, "--size", "8x8"},
         1,
         "There is no object with slot 999 in \"" + in + "\""},
        {{"resize", in, "463", "0", "3", out, "--size", "8x8"},
         1,
         "Line 3 is not there: object 463 has lines 0 to 2"},
        {{"resize", in, "494", "0", "0", out, "--size", "8x8"}, 1, "Object 494 has no textures"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.error.empty() ? "missing image" : c.error));
        const auto run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vornix-cli: " + c.error, 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
