// Image files: exact round trips, plain layouts, damaged and hostile files refused.
#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "images/TextureExport.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using fixtures::Pixel;

unsigned U32(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | unsigned{b.at(at + 3)} << 24;
}

// An uncompressed TGA with top-left origin.
Bytes HandMadeTga(int width, int height, int bitsPerPixel, const Bytes& pixels) {
    Bytes out{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const int v : {width, height}) {
        out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    }
    out.insert(out.end(), {static_cast<std::uint8_t>(bitsPerPixel),
                           static_cast<std::uint8_t>(0x20 | (bitsPerPixel == 32 ? 8 : 0))});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Each file replaces a longer one whole and reads back exactly from disk and from memory.
TEST(ImageFiles, LosslessExportsRoundTripPixelExactWithPlainHeaders) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(37, 23, 5); // odd width: row padding
    const struct {
        const char* name;
        ExportFormat format;
        int runLength, headerAt, headerValue;
    } cases[] = {
        {"t.bmp", ExportFormat::Bmp, false, 28, 24},  // 24 bits per pixel
        {"t.pcx", ExportFormat::Pcx, false, 65, 3},   // three colour planes
        {"t.png", ExportFormat::Png, false, 25, 2},   // truecolour, no palette
        {"t.tga", ExportFormat::Tga, false, 2, 2},    // uncompressed true colour
        {"r.tga", ExportFormat::Tga, true, 2, 10},    // run-length true colour
        {"t.tif", ExportFormat::Tiff, false, 0, 'I'}, // little-endian TIFF
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::WriteFileBytes(dir / c.name, Bytes(100000, 0xAA));
        std::string error;
        ASSERT_TRUE(ExportImage(texture, (dir / c.name).string(), c.format, {100, c.runLength == 1},
                                &error));
        const Bytes bytes = fixtures::ReadFileBytes(dir / c.name);
        EXPECT_EQ(bytes.at(static_cast<std::size_t>(c.headerAt)), c.headerValue);
        BTCImageObject loaded;
        ASSERT_TRUE(loaded.Load((dir / c.name).string(), &error)) << error;
        EXPECT_EQ(loaded.GetObjectData(), texture);
        ASSERT_TRUE(loaded.LoadFromMemory(bytes.data(), bytes.size(), &error)) << error;
        EXPECT_EQ(loaded.GetObjectData(), texture);
    }
    // Positive height, rows of 111 bytes padded to 112, the bottom row first.
    const Bytes bmp = fixtures::ReadFileBytes(dir / "t.bmp");
    const unsigned at = U32(bmp, 10);
    EXPECT_EQ(std::pair(U32(bmp, 22), bmp.size()), std::pair(23u, std::size_t{at} + 23u * 112u));
    EXPECT_EQ(Pixel({bmp.at(at), bmp.at(at + 1), bmp.at(at + 2)}),
              fixtures::PixelAt(texture, 0, 22));
}

// JPEG size follows the quality; RAW is the rows bottom up with nothing else.
TEST(ImageFiles, JpegQualityAndRaw) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(64, 64, 9);
    ASSERT_TRUE(ExportImage(texture, (dir / "a.jpg").string(), ExportFormat::Jpeg, {10, false}));
    ASSERT_TRUE(ExportImage(texture, (dir / "b.jpg").string(), ExportFormat::Jpeg, {100, false}));
    EXPECT_LT(fs::file_size(dir / "a.jpg"), fs::file_size(dir / "b.jpg"));
    const BTCImageData small = fixtures::MakeTexture(5, 3, 2);
    fixtures::WriteFileBytes(dir / "t.raw", Bytes(1000, 0xEE));
    ASSERT_TRUE(ExportImage(small, (dir / "t.raw").string(), ExportFormat::Raw));
    Bytes expected;
    for (int i = 0; i < 15; ++i) {
        const Pixel p = fixtures::PixelAt(small, i % 5, 2 - i / 5);
        expected.insert(expected.end(), p.begin(), p.end());
    }
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "t.raw"), expected);
}

// Paletted, grey and 16-bit PNGs and a TGA with alpha all load as 24-bit colour.
TEST(ImageFiles, OtherLayoutsLoadAsTwentyFourBitColour) {
    images::EnsureMagick();
    fixtures::TempDir dir;
    const struct {
        const char* name;
        Magick::ImageType type;
        unsigned depth, headerAt, headerValue;
    } cases[] = {
        {"paletted.png", Magick::PaletteType, 8, 25, 3},
        {"grey.png", Magick::GrayscaleType, 8, 25, 0},
        {"deep.png", Magick::TrueColorType, 16, 24, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BTCImageData source;
        ASSERT_TRUE(source.Create(16, 16));
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint32_t>(i % 16 * 8 + i / 16 * 4);
            source.Fill(i % 16, i / 16, 1, 1,
                        c.type == Magick::GrayscaleType ? v * 0x010101u
                                                        : v << 16 | i / 16 * 16 << 8 | 0xFF);
        }
        Magick::Image picture(16, 16, "BGR", Magick::CharPixel, source.GetBits());
        picture.type(c.type);
        picture.depth(c.depth);
        picture.write((dir / c.name).string());
        ASSERT_EQ(fixtures::ReadFileBytes(dir / c.name).at(c.headerAt), c.headerValue);
        BTCImageObject object;
        ASSERT_TRUE(object.Load((dir / c.name).string()));
        EXPECT_EQ(object.GetObjectData(), source);
    }
    const BTCImageData colours = fixtures::MakeTexture(3, 2, 8);
    Bytes bgra;
    for (int i = 0; i < 6; ++i) {
        const Pixel p = fixtures::PixelAt(colours, i % 3, i / 3);
        bgra.insert(bgra.end(), p.begin(), p.end());
        bgra.push_back(static_cast<std::uint8_t>(i * 50)); // alpha, 0 included
    }
    fixtures::WriteFileBytes(dir / "alpha.tga", HandMadeTga(3, 2, 32, bgra));
    BTCImageObject object;
    ASSERT_TRUE(object.Load((dir / "alpha.tga").string()));
    EXPECT_EQ(object.GetObjectData(), colours);
}

TEST(ImageFiles, DamagedForeignAndMissingFilesAreRefusedKeepingTheHeldImage) {
    fixtures::TempDir dir;
    const BTCImageData held = fixtures::MakeTexture(4, 4, 77);
    const std::string ps = "%!PS-Adobe-3.0\n/x 1 def showpage\n";
    const Bytes garbage(300, 0xF9);
    std::vector<std::tuple<std::string, Bytes, std::string>> cases = {
        {"garbage.png", garbage, "not a BMP, PCX, PNG, TGA, TIFF or JPEG image"},
        {"garbage.tga", garbage, "garbage.tga"},
        {"renamed.tga", Bytes(ps.begin(), ps.end()), "is a PS file"},
        {"empty.bmp", {}, "empty.bmp"},
        {"missing.png", {}, "\": No such file"},
    };
    for (const auto& [format, ext] : {std::pair{ExportFormat::Png, "png"},
                                      {ExportFormat::Tga, "tga"},
                                      {ExportFormat::Jpeg, "jpg"}}) {
        const std::string name = std::string("cut.") + ext;
        ASSERT_TRUE(ExportImage(fixtures::MakeTexture(48, 40, 5), (dir / name).string(), format));
        Bytes bytes = fixtures::ReadFileBytes(dir / name);
        bytes.resize(bytes.size() / 2);
        cases.emplace_back(name, bytes, std::string(ext) == "jpg" ? "damaged" : name);
    }
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        if (name != "missing.png") {
            fixtures::WriteFileBytes(dir / name, bytes);
        }
        BTCImageObject object;
        object.Attach(held);
        std::string error;
        EXPECT_FALSE(object.Load((dir / name).string(), &error));
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_NE(error.find((dir / name).string()), std::string::npos) << error;
        EXPECT_FALSE(object.LoadFromMemory(bytes.data(), bytes.size(), &error));
        EXPECT_EQ(object.GetObjectData(), held);
    }
}

// Larger images are refused from the header before any pixel memory is taken.
TEST(ImageFiles, LargestSideLoadsAndLargerImagesAreRefusedBeforeDecoding) {
    fixtures::TempDir dir;
    const int max = BTCImageData::kMaxSide;
    const int cases[][3] = {{max, 1, 1},     {1, max, 1},     {max + 1, 1, 0},
                            {1, max + 1, 0}, {9000, 8000, 0}, {max, max, 0}};
    const BTCImageData held = fixtures::MakeTexture(2, 2, 3);
    for (const auto& [width, height, loads] : cases) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const fs::path path = dir / "side.tga";
        fixtures::WriteFileBytes(
            path, HandMadeTga(width, height, 24, Bytes(std::size_t{3} * max + 3, 0x40)));
        BTCImageObject object;
        object.Attach(held);
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(object.Load(path.string(), &error), loads == 1) << error;
        const BTCImageData& data = object.GetObjectData();
        if (loads) {
            EXPECT_EQ(std::pair(data.GetWidth(), data.GetHeight()), std::pair(width, height));
        } else {
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            EXPECT_NE(error.find("than 16384 pixels a side or 64 megapixels in all (Image pixel"),
                      std::string::npos);
            EXPECT_EQ(data, held);
        }
    }
}

// A folder or a pipe is refused by name at once, never waited on for a writer.
TEST(ImageFiles, FoldersAndPipesAreNotFiles) {
    fixtures::TempDir dir;
    const fs::path pipe = dir / "pipe.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const fs::path& path : {dir.path(), pipe}) {
        auto load = std::async(std::launch::async, [path] {
            std::string error;
            EXPECT_FALSE(BTCImageObject().Load(path.string(), &error));
            return error;
        });
        if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            ADD_FAILURE() << "loading " << path << " waits for a writer";
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
        }
        EXPECT_EQ(load.get(), "Cannot read \"" + path.string() + "\": it is not a file.");
    }
}

TEST(ImageFiles, FailedWritesNameTheFileAndLeaveTargetsAlone) {
    fixtures::TempDir dir;
    const BTCImageData image = fixtures::MakeTexture(4, 4, 1);
    const std::string kept = (dir / "keep.png").string();
    ASSERT_TRUE(ExportImage(image, kept, ExportFormat::Png));
    const Bytes before = fixtures::ReadFileBytes(kept);
    const std::string missing = (dir / "nowhere" / "t.raw").string();
    std::string error;
    EXPECT_FALSE(ExportImage(image, missing, ExportFormat::Raw, {}, &error));
    EXPECT_NE(error.find(missing + "\": No such file or directory"), std::string::npos) << error;
    EXPECT_FALSE(ExportImage(BTCImageData(), kept, ExportFormat::Raw, {}, &error));
    EXPECT_EQ(fixtures::ReadFileBytes(kept), before);
    EXPECT_EQ(fixtures::Tree(dir.path()), (std::vector<std::string>{"keep.png"}));
}

} // namespace
