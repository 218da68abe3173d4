#include "CliRunner.h"

#include "images/BTCImageObject.h"
#include "images/TextureExport.h"
#include "objects/SwoFile.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

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
    const SpriteWad original = Read(in);
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    clitest::CliRun Ok(const std::vector<std::string>& args) const {
        auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        return run;
    }
};

TEST_F(CliRoundTrip, InfoListsTheCountsObjectsAndTextures) {
    EXPECT_EQ(Ok({"info", in}).out, "version 129, entries 5, pages 2, objects 3\n"
                                    "463: DEFAULT_SPRITES  Textures=3\n"
                                    "  Texture 0 :  (56 x 56)\n"
                                    "  Texture 1 :  (1 x 1)\n"
                                    "  Texture 2 :  (256 x 3)\n"
                                    "460: SKY_GRAPHICS  Textures=2\n"
                                    "  Texture 0 :  (64 x 64)\n"
                                    "  Texture 1 :  (32 x 16)\n"
                                    "494: CUSTOM_SPRITES  Textures=0\n");
    const std::string zero = WriteSample(dir, "zero.swd", clitest::ZeroCountedSmallWad());
    EXPECT_EQ(Ok({"info", "--recover", zero}).out.substr(0, 55),
              "version 129, entries 5 (recovered), pages 2, objects 3\n");
}

TEST_F(CliRoundTrip, ExtractWritesOnePngPerTextureInSlotFolders) {
    const fs::path out = dir / "sprites" / "deeper";
    Ok({"extract", in, out.string()});
    // The empty 494 gets no folder, only its line.
    const std::vector<std::string> files{"460_SKY_GRAPHICS/0.png", "460_SKY_GRAPHICS/1.png",
                                         "463_DEFAULT_SPRITES/0.png", "463_DEFAULT_SPRITES/1.png",
                                         "463_DEFAULT_SPRITES/2.png"};
    EXPECT_EQ(
        fixtures::Tree(out),
        (std::vector<std::string>{"460_SKY_GRAPHICS/", files[0], files[1], "463_DEFAULT_SPRITES/",
                                  files[2], files[3], files[4], "objects.txt"}));
    const auto manifest = fixtures::ReadFileBytes(out / "objects.txt");
    EXPECT_EQ(std::string(manifest.begin(), manifest.end()), "463 3 2\n460 2 0\n494 0 5\n");
    // The pixels of the PNGs are checked by building them back, below.
}

// extract then build gives, byte for byte, what repack gives for the original.
TEST_F(CliRoundTrip, ExtractThenBuildEqualsRepack) {
    std::vector<std::pair<std::string, bool>> sources{
        {in, false},
        {WriteSample(dir, "zero.swd", clitest::ZeroCountedSmallWad()), true},
        {WriteSample(dir, "none.swd", fixtures::SwdBuilder().Build()), false}};
    if (const auto real = fixtures::RealSwdDir(); !real.empty()) {
        for (const auto& item : fs::directory_iterator(real)) {
            const std::string name = item.path().filename().string();
            if (item.path().extension() == ".swd") {
                sources.emplace_back(item.path().string(), name.find("zero") != std::string::npos);
            }
        }
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const auto& [source, recover] = sources[i];
        SCOPED_TRACE(source);
        const std::string n = std::to_string(i);
        std::vector<std::string> extract{"extract", source, Path(n)};
        std::vector<std::string> repack{"repack", source, Path(n + ".repacked")};
        if (recover) {
            extract.insert(extract.begin() + 1, "--recover");
            repack.insert(repack.begin() + 1, "--recover");
        }
        Ok(extract);
        Ok({"build", Path(n), Path(n + ".built")});
        Ok(repack);
        EXPECT_TRUE(fixtures::ReadFileBytes(Path(n + ".built")) ==
                    fixtures::ReadFileBytes(Path(n + ".repacked")));
    }
    SpriteWad repacked;
    swd::SwdFileInfo info;
    ASSERT_TRUE(swd::ReadSwdFile(Path("0.repacked"), repacked, &info).ok());
    EXPECT_EQ(repacked.m_sequences, original.m_sequences);
    EXPECT_TRUE(repacked.m_textures == original.m_textures);
    EXPECT_EQ(Ok({"repack", in, Path("again.swd")}).out,
              "Packed 5 textures onto " + std::to_string(info.pageCount) + " pages\n");
}

// Textures edited in any image editor come back in any of the six formats.
TEST_F(CliRoundTrip, BuildTakesTexturesInEveryImageFormat) {
    Ok({"extract", in, Path("x")});
    for (const auto& [codec, png, name] : std::vector<std::tuple<int, const char*, const char*>>{
             {BTCImageObject::CodecBMP, "463_DEFAULT_SPRITES/0", "463_DEFAULT_SPRITES/0.bmp"},
             {BTCImageObject::CodecTGA, "463_DEFAULT_SPRITES/1", "463_DEFAULT_SPRITES/1.tga"},
             {BTCImageObject::CodecJPEG, "463_DEFAULT_SPRITES/2", "463_DEFAULT_SPRITES/2.jpeg"},
             {BTCImageObject::CodecPCX, "460_SKY_GRAPHICS/0", "460_SKY_GRAPHICS/0.PCX"},
             {BTCImageObject::CodecTIFF, "460_SKY_GRAPHICS/1", "460_SKY_GRAPHICS/1.tif"}}) {
        BTCImageObject image;
        ASSERT_TRUE(image.Load(Path("x/" + std::string(png) + ".png")));
        ASSERT_TRUE(image.Save(Path("x/" + std::string(name)), codec));
        fs::remove(Path("x/" + std::string(png) + ".png"));
    }
    Ok({"build", Path("x"), Path("out.swd")});
    const SpriteWad rebuilt = Read(Path("out.swd"));
    EXPECT_EQ(rebuilt.m_sequences, original.m_sequences);
    for (int line = 0; line < 2; ++line) { // lossless formats
        EXPECT_TRUE(rebuilt.ObjectTexture(0, line) == original.ObjectTexture(0, line)) << line;
        EXPECT_TRUE(rebuilt.ObjectTexture(1, line) == original.ObjectTexture(1, line)) << line;
    }
    EXPECT_EQ(rebuilt.ObjectTexture(0, 2).GetWidth(), 256);
}

TEST_F(CliRoundTrip, ExportObjectThenImportIt) {
    const std::string swoPath = Path("463.swo");
    EXPECT_EQ(Ok({"export-object", in, "463", swoPath}).out,
              "Exported 463: DEFAULT_SPRITES  Textures=3 to " + swoPath + "\n");
    swo::SwoObject file;
    ASSERT_TRUE(swo::ReadSwoFile(swoPath, file).ok());
    EXPECT_EQ(file.slotId, 463);
    EXPECT_TRUE(file.textures == std::vector<BTCImageData>(original.m_textures.begin() + 2,
                                                           original.m_textures.end()));
    EXPECT_EQ(Ok({"import-object", in, swoPath, Path("merged.swd")}).out,
              "Imported 3 textures into existing object 463: DEFAULT_SPRITES  Textures=6\n");
    const SpriteWad merged = Read(Path("merged.swd"));
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(merged.ObjectTexture(0, 3 + k) == original.ObjectTexture(0, k)) << k;
    }
    const std::string empty = WriteSample(dir, "empty.swd", fixtures::SwdBuilder().Build());
    EXPECT_EQ(Ok({"import-object", empty, swoPath, Path("created.swd")}).out,
              "Imported 3 textures into new object 463: DEFAULT_SPRITES  Textures=3\n");
    EXPECT_TRUE(Read(Path("created.swd")).m_textures == file.textures);
}

TEST_F(CliRoundTrip, SplitAppendsPiecesAndResizeChangesLines) {
    const BTCImageData image = MakeTexture(300, 200, 11);
    ASSERT_TRUE(ExportImage(image, Path("image.png"), ExportFormat::Png));
    const auto run =
        Ok({"split", in, "460", Path("image.png"), Path("out.swd"), "--piece", "128x128", "--pad"});
    EXPECT_TRUE(run.out.ends_with("Added 6 pieces to 460: SKY_GRAPHICS, which now holds 8 "
                                  "textures\n"))
        << run.out;
    const SpriteWad after = Read(Path("out.swd"));
    EXPECT_EQ(after.m_sequences,
              (std::vector<ObjectSequence>{{463, -3, 8}, {460, -8, 0}, {494, 0, 11}}));
    EXPECT_TRUE(fixtures::PiecesMatchSplit(
        image, 128, 128, true,
        std::vector<BTCImageData>(after.m_textures.begin() + 2, after.m_textures.begin() + 8)));

    const auto resized = Ok({"resize", in, "463", "1", "2", Path("small.swd"), "--size", "20x10",
                             "--filter", "bilinear"});
    EXPECT_TRUE(resized.out.ends_with("Resized 2 textures of object 463\n")) << resized.out;
    const SpriteWad small = Read(Path("small.swd"));
    EXPECT_EQ(small.m_sequences, original.m_sequences);
    EXPECT_TRUE(small.ObjectTexture(0, 0) == original.ObjectTexture(0, 0));
    EXPECT_EQ(small.ObjectTexture(0, 2).GetWidth() * 100 + small.ObjectTexture(0, 2).GetHeight(),
              2010);
    // Stretching keeps the aspect when asked and repeats every pixel of 56 x 56 as a 2 x 2 block.
    Ok({"resize", in, "463", "0", "2", Path("big.swd"), "--size", "112x112", "--keep-aspect"});
    const SpriteWad big = Read(Path("big.swd"));
    EXPECT_EQ(big.ObjectTexture(0, 2).GetWidth() * 1000 + big.ObjectTexture(0, 2).GetHeight(),
              112001);
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 112; ++x) {
            ASSERT_EQ(fixtures::PixelAt(big.ObjectTexture(0, 0), x, y),
                      fixtures::PixelAt(original.ObjectTexture(0, 0), x / 2, y / 2));
        }
    }
}

// The format comes from --format, else the extension; bytes as the window's export writes.
TEST_F(CliRoundTrip, ExportTextureWritesWhatTheWindowWrites) {
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
        {{}, "b.jpg", ExportFormat::Jpeg, {100, false}},
        {{"--format", "RAW"}, "a.data", ExportFormat::Raw, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"export-texture", in, "463", "2", Path(c.name)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        EXPECT_NE(Ok(args).out.find("(256 x 3)"), std::string::npos);
        ASSERT_TRUE(ExportImage(original.ObjectTexture(0, 2), Path("expected"), c.format, c.options,
                                nullptr));
        EXPECT_EQ(fixtures::ReadFileBytes(Path(c.name)), fixtures::ReadFileBytes(Path("expected")));
    }
}

// Images land in the order given, fitted to a page; the first bad one is the one reported.
TEST_F(CliRoundTrip, AddTextureKeepsTheOrderOfManyImages) {
    std::vector<std::string> args{"add-texture", in, "470", Path("out.swd")};
    std::vector<BTCImageData> images;
    for (int i = 0; i < 40; ++i) {
        images.push_back(MakeTexture(1 + i, 40 - i, static_cast<std::uint32_t>(i)));
        args.push_back(Path("i" + std::to_string(i) + ".png"));
        ASSERT_TRUE(ExportImage(images.back(), args.back(), ExportFormat::Png));
    }
    args.push_back(Path("wide.pcx"));
    ASSERT_TRUE(ExportImage(MakeTexture(640, 480, 5), args.back(), ExportFormat::Pcx));
    EXPECT_NE(Ok(args).out.find("new object 470 (FONT_GRAPHICS)"), std::string::npos);
    const SpriteWad wad = Read(Path("out.swd"));
    ASSERT_EQ(wad.m_sequences.back(), (ObjectSequence{470, -41, 5}));
    for (int i = 0; i < 40; ++i) {
        EXPECT_TRUE(wad.ObjectTexture(3, i) == images[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(wad.ObjectTexture(3, 40).GetWidth(), 256);
    EXPECT_EQ(wad.ObjectTexture(3, 40).GetHeight(), 192);

    fixtures::WriteFileBytes(args[4 + 30], {1, 2, 3});
    fixtures::WriteFileBytes(args[4 + 35], {4, 5, 6});
    const auto bad = RunCli(args);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("i30.png"), std::string::npos) << bad.err;
    EXPECT_EQ(bad.err.find("i35.png"), std::string::npos) << bad.err;
}

} // namespace
