#include "CliRunner.h"

#include "images/BTCImageObject.h"
#include "images/TextureExport.h"

#include <gtest/gtest.h>

#include <filesystem>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

namespace fs = std::filesystem;

SpriteWad Read(const std::string& path) {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwdFile(path, wad).ok()) << path;
    return wad;
}

// SmallWad: 463 owns 56x56, 1x1, 256x3; 460 owns 64x64, 32x16; 494 is empty.
TEST(CliExportTexture, FormatFromTheOptionElseTheExtensionWithTheWindowsEncoders) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const SpriteTexture texture = Read(in).ObjectTexture(0, 2);
    const struct {
        std::vector<std::string> extra;
        const char* name;
        ExportFormat format;
        ExportOptions options;
    } cases[] = {
        {{}, "a.bmp", ExportFormat::Bmp, {}},
        {{}, "a.PCX", ExportFormat::Pcx, {}},
        {{"--format", "png"}, "a.bmp", ExportFormat::Png, {}},
        {{"--rle"}, "a.tga", ExportFormat::Tga, {100, true}},
        {{}, "a.tif", ExportFormat::Tiff, {}},
        {{"--quality", "40"}, "a.jfif", ExportFormat::Jpeg, {40, false}},
        {{}, "b.jpg", ExportFormat::Jpeg, {100, false}},
        {{"--format", "RAW"}, "a.data", ExportFormat::Raw, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"export-texture", in, "463", "2", (dir / c.name).string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto run = RunCli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("(256 x 3)"), std::string::npos) << run.out;
        // Byte for byte what the window's export writes.
        ASSERT_TRUE(
            ExportImage(texture, (dir / "expected").string(), c.format, c.options, nullptr));
        EXPECT_EQ(fixtures::ReadFileBytes(dir / c.name), fixtures::ReadFileBytes(dir / "expected"));
    }
}

TEST(CliExportTexture, MistakesAreReportedAndNothingIsWritten) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string out = (dir / "out.png").string();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{in, "464", "0", out}, 1, "no object with slot 464"},
        {{in, "494", "0", out}, 1, "has 0 textures, so no line 0"},
        {{in, "460", "2", out}, 1, "has 2 textures, so no line 2"},
        {{in, "460", "-1", out}, 1, "\"-1\" is not a texture line number"},
        {{in, "x", "0", out}, 1, "\"x\" is not a slot number"},
        {{in, "460", "0", (dir / "out.gif").string()}, 1, "give --format"},
        {{in, "460", "0", out, "--format", "gif"}, 1, "Unknown format \"gif\""},
        {{in, "460", "0", out, "--quality", "50"}, 1, "--quality applies only to JPEG"},
        {{in, "460", "0", out, "--format", "jpeg", "--quality", "101"}, 1, "0 to 100"},
        {{in, "460", "0", out, "--rle"}, 1, "--rle applies only to TGA"},
        {{(dir / "none.swd").string(), "460", "0", out}, 1, "none.swd"},
        {{in, "460", "0", out, "--quality"}, 2, "--quality needs a value"},
        {{in, "460", "0", out, "--fast"}, 2, "unknown option \"--fast\""},
        {{in, "460", out}, 2, "export-texture takes"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"export-texture"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"in.swd"});
}

TEST(CliAddTexture, FitsAndAppendsCreatingAMissingObjectByThePlacementRules) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const BTCImageData small = fixtures::MakeTexture(33, 17, 4);
    const std::string smallPng = (dir / "small.png").string();
    const std::string widePcx = (dir / "wide.pcx").string();
    ASSERT_TRUE(ExportImage(small, smallPng, ExportFormat::Png));
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(640, 480, 5), widePcx, ExportFormat::Pcx));
    const SpriteWad before = Read(in);

    // 460's run lies before 463's: both images go right after it.
    const std::string out = (dir / "out.swd").string();
    auto run = RunCli({"add-texture", in, "460", out, smallPng, widePcx});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    SpriteWad wad = Read(out);
    ASSERT_EQ(wad.ObjectCount(), 3u);
    EXPECT_EQ(wad.m_sequences[1], (ObjectSequence{460, -4, 0}));
    EXPECT_EQ(wad.m_sequences[0], (ObjectSequence{463, -3, 4}));
    EXPECT_EQ(wad.m_sequences[2].firstTexture, 7);
    EXPECT_TRUE(wad.ObjectTexture(1, 2) == small) << "an image that fits keeps every pixel";
    EXPECT_EQ(wad.ObjectTexture(1, 3).GetWidth(), 256);
    EXPECT_EQ(wad.ObjectTexture(1, 3).GetHeight(), 192);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(wad.ObjectTexture(0, k) == before.ObjectTexture(0, k)) << k;
    }

    // A missing object other than 460 or 463 goes to the end, starting behind every texture.
    run = RunCli({"add-texture", in, "470", out, smallPng});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    wad = Read(out);
    ASSERT_EQ(wad.ObjectCount(), 4u);
    EXPECT_EQ(wad.m_sequences[3], (ObjectSequence{470, -1, 5}));
    EXPECT_NE(run.out.find("new object 470 (FONT_GRAPHICS)"), std::string::npos) << run.out;
}

// Images land in the order given, and the first bad one in that order is the one reported.
TEST(CliAddTexture, ManyImagesKeepTheirOrder) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    std::vector<std::string> args{"add-texture", in, "494", (dir / "out.swd").string()};
    std::vector<BTCImageData> images;
    for (int i = 0; i < 40; ++i) {
        images.push_back(fixtures::MakeTexture(1 + i, 40 - i, static_cast<std::uint32_t>(i)));
        args.push_back((dir / ("i" + std::to_string(i) + ".png")).string());
        ASSERT_TRUE(ExportImage(images.back(), args.back(), ExportFormat::Png));
    }
    const auto run = RunCli(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const SpriteWad wad = Read((dir / "out.swd").string());
    ASSERT_EQ(wad.m_sequences[2].TextureCount(), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_TRUE(wad.ObjectTexture(2, i) == images[static_cast<std::size_t>(i)]) << i;
    }

    fixtures::WriteFileBytes(args[4 + 30], {1, 2, 3});
    fixtures::WriteFileBytes(args[4 + 35], {4, 5, 6});
    const auto bad = RunCli(args);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("i30.png"), std::string::npos) << bad.err;
    EXPECT_EQ(bad.err.find("i35.png"), std::string::npos) << bad.err;
}

TEST(CliAddTexture, ABadImageStopsTheCommandBeforeAnythingIsWritten) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string good = (dir / "good.png").string();
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(8, 8, 1), good, ExportFormat::Png));
    fixtures::WriteFileBytes(dir / "bad.png", {0x89, 'P', 'N', 'G', 0, 1, 2});
    const std::string out = (dir / "out.swd").string();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{in, "460", out, good, (dir / "bad.png").string()}, 1, "bad.png"},
        {{in, "460", out, (dir / "missing.png").string()}, 1, "missing.png"},
        {{in, "slot", out, good}, 1, "\"slot\" is not a slot number"},
        {{in, "460", out}, 2, "at least one image"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"add-texture"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
