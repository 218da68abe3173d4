#include "CliRunner.h"

#include "images/BTCImageObject.h"
#include "images/TextureExport.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <filesystem>

using clitest::Read;
using clitest::RunCli;
using clitest::WriteSample;
using fixtures::MakeTexture;

namespace fs = std::filesystem;

namespace {

// SmallWad: 463 owns 56x56, 1x1, 256x3 (textures 2..4); 460 owns 64x64, 32x16 (0..1); 494
// is empty and starts at 5.
struct CliRoundTrip : testing::Test {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string zero =
        WriteSample(dir, "zero.swd", fixtures::SmallWad().StatedEntryCount(0).Build());
    const SpriteWad original = Read(in);
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Ok(std::vector<std::string> args) const {
        const auto run = RunCli(args);
        EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, std::string()));
        return run.out;
    }
};

TEST_F(CliRoundTrip, InfoListsTheCountsObjectsAndTextures) {
    EXPECT_EQ(Ok({"info", in}), "version 129, entries 5, pages 2, objects 3\n"
                                "463: DEFAULT_SPRITES  Textures=3\n  Texture 0 :  (56 x 56)\n"
                                "  Texture 1 :  (1 x 1)\n  Texture 2 :  (256 x 3)\n"
                                "460: SKY_GRAPHICS  Textures=2\n  Texture 0 :  (64 x 64)\n"
                                "  Texture 1 :  (32 x 16)\n494: CUSTOM_SPRITES  Textures=0\n");
    EXPECT_TRUE(Ok({"info", "--recover", zero})
                    .starts_with("version 129, entries 5 (recovered), pages 2, objects 3\n"));
}

// extract writes one PNG per texture in slot folders (the empty 494 gets only its line), and
// building them, one edited into another format, gives byte for byte what repack gives.
TEST_F(CliRoundTrip, ExtractThenBuildEqualsRepack) {
    const std::string x = Path("sprites/deeper");
    Ok({"extract", in, x});
    EXPECT_EQ(fixtures::Tree(x),
              (std::vector<std::string>{"460_SKY_GRAPHICS/", "460_SKY_GRAPHICS/0.png",
                                        "460_SKY_GRAPHICS/1.png", "463_DEFAULT_SPRITES/",
                                        "463_DEFAULT_SPRITES/0.png", "463_DEFAULT_SPRITES/1.png",
                                        "463_DEFAULT_SPRITES/2.png", "objects.txt"}));
    const auto manifest = fixtures::ReadFileBytes(x + "/objects.txt");
    EXPECT_EQ(std::string(manifest.begin(), manifest.end()), "463 3 2\n460 2 0\n494 0 5\n");
    BTCImageObject image;
    ASSERT_TRUE(image.Load(x + "/463_DEFAULT_SPRITES/1.png"));
    ASSERT_TRUE(image.Save(x + "/463_DEFAULT_SPRITES/1.BMP", BTCImageObject::CodecBMP));
    fs::remove(x + "/463_DEFAULT_SPRITES/1.png");
    // Reading only the first object, 463, leaves sprites 0 and 1 to no object.
    const std::vector<std::string> sources{
        in, zero, WriteSample(dir, "none.swd", fixtures::SwdBuilder().Build()),
        WriteSample(dir, "loose.swd", fixtures::SmallWad().StatedSequenceCount(1).Build())};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        SCOPED_TRACE(sources[i]);
        const std::string n = i == 0 ? x : Path(std::to_string(i));
        if (i != 0) { // --recover changes nothing for a file whose count is sound
            Ok({"extract", "--recover", sources[i], n});
        }
        Ok({"build", n, n + ".built"});
        Ok({"repack", "--recover", sources[i], n + ".repacked"});
        EXPECT_TRUE(fixtures::ReadFileBytes(n + ".built") ==
                    fixtures::ReadFileBytes(n + ".repacked"));
    }
    const SpriteWad repacked = Read(x + ".repacked");
    EXPECT_EQ(repacked.m_sequences, original.m_sequences);
    EXPECT_TRUE(repacked.m_textures == original.m_textures);
    EXPECT_EQ(Ok({"repack", in, Path("again.swd")}), "Packed 5 textures onto 1 pages\n");
}

TEST_F(CliRoundTrip, SplitAndAddTextureAppendAndResizeChangesLines) {
    const BTCImageData image = MakeTexture(300, 200, 11);
    ASSERT_TRUE(ExportImage(image, Path("image.png"), ExportFormat::Png));
    EXPECT_TRUE(
        Ok({"split", in, "460", Path("image.png"), Path("out.swd"), "--piece", "128x128", "--pad"})
            .ends_with("Added 6 pieces to 460: SKY_GRAPHICS, which now holds 8 textures\n"));
    const SpriteWad after = Read(Path("out.swd"));
    EXPECT_EQ(after.m_sequences,
              (std::vector<ObjectSequence>{{463, -3, 8}, {460, -8, 0}, {494, 0, 11}}));
    EXPECT_TRUE(fixtures::PiecesMatchSplit(
        image, 128, 128, true, {after.m_textures.begin() + 2, after.m_textures.begin() + 8}));

    EXPECT_TRUE(Ok({"resize", in, "463", "1", "2", Path("big.swd"), "--size", "112x112",
                    "--keep-aspect", "--filter", "bilinear"})
                    .ends_with("Resized 2 textures of object 463\n"));
    const SpriteWad big = Read(Path("big.swd"));
    EXPECT_EQ(big.m_sequences, original.m_sequences);
    EXPECT_TRUE(big.ObjectTexture(0, 0) == original.ObjectTexture(0, 0));
    for (const auto& [line, height] : {std::pair{1, 112}, {2, 1}}) {
        EXPECT_EQ(big.ObjectTexture(0, line).GetWidth() * 1000 +
                      big.ObjectTexture(0, line).GetHeight(),
                  112000 + height);
    }

    // Images land in the order given (i10 after i9).
    std::vector<std::string> args{"add-texture", in, "470", Path("out.swd")};
    std::vector<BTCImageData> images;
    for (int i = 0; i < 12; ++i) {
        images.push_back(MakeTexture(1 + i, 12 - i, static_cast<std::uint32_t>(i)));
        args.push_back(Path("i" + std::to_string(i) + ".png"));
        ASSERT_TRUE(ExportImage(images.back(), args.back(), ExportFormat::Png));
    }
    EXPECT_NE(Ok(args).find("new object 470 (FONT_GRAPHICS)"), std::string::npos);
    const SpriteWad wad = Read(Path("out.swd"));
    ASSERT_EQ(wad.m_sequences.back(), (ObjectSequence{470, -12, 5}));
    for (int i = 0; i < 12; ++i) {
        EXPECT_TRUE(wad.ObjectTexture(3, i) == images[static_cast<std::size_t>(i)]) << i;
    }
}

// The texture format comes from --format, else the extension; bytes as the window writes.
TEST_F(CliRoundTrip, ExportsWriteWhatTheWindowWritesAndImportBack) {
    const struct {
        std::vector<std::string> extra;
        const char* name;
        ExportFormat format;
        ExportOptions options;
    } cases[] = {
        {{}, "a.PCX", ExportFormat::Pcx, {}},
        {{"--format", "png"}, "a.bmp", ExportFormat::Png, {}},
        {{"--rle"}, "a.tga", ExportFormat::Tga, {100, true}},
        {{"--quality", "40"}, "a.jfif", ExportFormat::Jpeg, {40, false}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"export-texture", in, "463", "2", Path(c.name)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        Ok(args);
        ASSERT_TRUE(ExportImage(original.ObjectTexture(0, 2), Path("expected"), c.format, c.options,
                                nullptr));
        EXPECT_EQ(fixtures::ReadFileBytes(Path(c.name)), fixtures::ReadFileBytes(Path("expected")))
            << c.name;
    }
    // An exported object imports back.
    const std::string swoPath = Path("463.swo");
    EXPECT_EQ(Ok({"export-object", in, "463", swoPath}),
              "Exported 463: DEFAULT_SPRITES  Textures=3 to " + swoPath + "\n");
    EXPECT_EQ(Ok({"import-object", in, swoPath, Path("merged.swd")}),
              "Imported 3 textures into existing object 463: DEFAULT_SPRITES  Textures=6\n");
    const SpriteWad merged = Read(Path("merged.swd"));
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(merged.ObjectTexture(0, 3 + k) == original.ObjectTexture(0, k)) << k;
    }
}

} // namespace
