// Reading and writing image files: exact round trips, plain layouts, odd inputs, damaged and
// hostile files refused with the held image kept.
#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "images/TextureExport.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <chrono>
#include <cmath>
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

BTCImageObject Holding(const BTCImageData& image) {
    BTCImageObject object;
    object.Attach(image);
    return object;
}

double MeanDifference(const BTCImageData& a, const BTCImageData& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.GetImageSize(); ++i) {
        sum += std::abs(a.GetBits()[i] - b.GetBits()[i]);
    }
    return sum / static_cast<double>(a.GetImageSize());
}

// A TGA written byte by byte: uncompressed, top-left origin, `pixels` after the header.
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

// Every writer keeps a plain full-colour layout; each file replaces a longer one whole and
// reads back pixel-exact from the file and, found by content alone, from memory.
TEST(ImageFiles, LosslessExportsRoundTripPixelExactWithPlainHeaders) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(37, 23, 5); // odd width: row padding
    const struct {
        const char* name;
        ExportFormat format;
        bool runLength;
        std::size_t headerAt;
        std::uint8_t headerValue;
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
        ExportOptions options;
        options.tgaRunLength = c.runLength;
        std::string error;
        ASSERT_TRUE(ExportImage(texture, (dir / c.name).string(), c.format, options, &error))
            << error;
        const Bytes bytes = fixtures::ReadFileBytes(dir / c.name);
        EXPECT_EQ(bytes.at(c.headerAt), c.headerValue);
        BTCImageObject loaded;
        ASSERT_TRUE(loaded.Load((dir / c.name).string(), &error)) << error;
        EXPECT_EQ(loaded.GetObjectData(), texture);
        ASSERT_TRUE(loaded.LoadFromMemory(bytes.data(), bytes.size(), &error)) << error;
        EXPECT_EQ(loaded.GetObjectData(), texture);
    }
    // A plain BMP: 40-byte info header, positive height (bottom-up rows), no compression,
    // rows of 111 bytes padded to 112, the bottom row first.
    const Bytes bmp = fixtures::ReadFileBytes(dir / "t.bmp");
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(U32(bmp, 22), 23u);
    EXPECT_EQ(U32(bmp, 30), 0u);
    EXPECT_EQ(bmp.size(), U32(bmp, 10) + 23u * 112u);
    EXPECT_EQ(Pixel({bmp.at(U32(bmp, 10)), bmp.at(U32(bmp, 10) + 1), bmp.at(U32(bmp, 10) + 2)}),
              fixtures::PixelAt(texture, 0, 22));
}

TEST(ImageFiles, JpegSizeFollowsTheQuality) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(64, 64, 9);
    std::vector<std::uintmax_t> sizes;
    for (int quality : {10, 60, 100}) {
        ExportOptions options;
        options.jpegQuality = quality;
        const fs::path path = dir / ("q" + std::to_string(quality) + ".jpg");
        ASSERT_TRUE(ExportImage(texture, path.string(), ExportFormat::Jpeg, options));
        sizes.push_back(fs::file_size(path));
        BTCImageObject back;
        ASSERT_TRUE(back.Load(path.string()));
        ASSERT_EQ(back.GetObjectData().GetImageSize(), texture.GetImageSize());
        if (quality == 100) {
            EXPECT_LT(MeanDifference(back.GetObjectData(), texture), 8.0);
        }
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_LT(sizes[1], sizes[2]);
}

TEST(ImageFiles, RawIsTheRowsBottomUpWithNothingElse) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(5, 3, 2);
    const fs::path path = dir / "t.raw";
    fixtures::WriteFileBytes(path, Bytes(1000, 0xEE));
    ASSERT_TRUE(ExportImage(texture, path.string(), ExportFormat::Raw));
    const Bytes bytes = fixtures::ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 5u * 3u * 3u);
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 5; ++x) {
            const Pixel pixel = fixtures::PixelAt(texture, x, 2 - row);
            EXPECT_TRUE(std::equal(pixel.begin(), pixel.end(), bytes.begin() + (row * 5 + x) * 3))
                << "row " << row << " x " << x;
        }
    }
    EXPECT_EQ(RawDump(texture), bytes);
}

// Paletted, grey and 16-bit PNGs, a CMYK JPEG and a TGA with alpha all load as 24-bit
// colour. Colours with red at full strength need no black ink, so every CMYK convention
// agrees on them.
TEST(ImageFiles, OtherLayoutsLoadAsTwentyFourBitColour) {
    images::EnsureMagick();
    fixtures::TempDir dir;
    const struct {
        const char* name;
        Magick::ImageType type;
        unsigned depth;
        bool cmyk;
        std::size_t headerAt;
        std::uint8_t headerValue;
        double tolerance;
    } cases[] = {
        {"paletted.png", Magick::PaletteType, 8, false, 25, 3, 0},
        {"grey.png", Magick::GrayscaleType, 8, false, 25, 0, 0},
        {"deep.png", Magick::TrueColorType, 16, false, 24, 16, 0},
        {"cmyk.jpg", Magick::ColorSeparationType, 8, true, 0, 0xFF, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BTCImageData source;
        ASSERT_TRUE(source.Create(16, 16));
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint32_t>(i % 16 * 8 + i / 16 * 4);
            const bool grey = c.type == Magick::GrayscaleType;
            source.Fill(i % 16, i / 16, 1, 1,
                        grey ? v * 0x010101u : v << 16 | i / 16 * 16 << 8 | 0xFF);
        }
        Magick::Image picture(16, 16, "BGR", Magick::CharPixel, source.GetBits());
        picture.type(c.type);
        picture.depth(c.depth);
        if (c.cmyk) {
            picture.colorSpace(Magick::CMYKColorspace);
        }
        picture.write((dir / c.name).string());
        ASSERT_EQ(fixtures::ReadFileBytes(dir / c.name).at(c.headerAt), c.headerValue)
            << "the fixture is not the layout it claims";
        BTCImageObject object;
        std::string error;
        ASSERT_TRUE(object.Load((dir / c.name).string(), &error)) << error;
        EXPECT_LE(MeanDifference(object.GetObjectData(), source), c.tolerance);
    }
    const Pixel colours[] = {{0x10, 0x20, 0x30}, {0xFF, 0x00, 0x00}, {0xFE, 0xFD, 0xFC}};
    Bytes bgra;
    for (int i = 0; i < 6; ++i) {
        bgra.insert(bgra.end(), colours[i % 3].begin(), colours[i % 3].end());
        bgra.push_back(static_cast<std::uint8_t>(i * 50)); // alpha, 0 included
    }
    fixtures::WriteFileBytes(dir / "alpha.tga", HandMadeTga(3, 2, 32, bgra));
    BTCImageObject object;
    ASSERT_TRUE(object.Load((dir / "alpha.tga").string()));
    ASSERT_EQ(object.GetObjectData().GetImageSize(), 18u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(fixtures::PixelAt(object.GetObjectData(), i % 3, i / 3), colours[i % 3]) << i;
    }
}

TEST(ImageFiles, DamagedForeignAndMissingFilesAreRefusedKeepingTheHeldImage) {
    fixtures::TempDir dir;
    const BTCImageData held = fixtures::MakeTexture(4, 4, 77);
    const std::string ps = "%!PS-Adobe-3.0\n/x 1 def showpage\n";
    Bytes garbage(300);
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<std::uint8_t>(0xFF - i % 7);
    }
    std::vector<std::tuple<std::string, Bytes, std::string>> cases = {
        {"garbage.png", garbage, "not a BMP, PCX, PNG, TGA, TIFF or JPEG image"},
        {"garbage.tga", garbage, "garbage.tga"},
        {"renamed.tga", Bytes(ps.begin(), ps.end()), "is a PS file"},
        {"empty.bmp", {}, "empty.bmp"},
    };
    // Every format cut in half.
    for (const auto& [format, ext] : {std::pair{"BMP", "bmp"},
                                      {"PCX", "pcx"},
                                      {"PNG", "png"},
                                      {"TGA", "tga"},
                                      {"TIFF", "tif"},
                                      {"JPEG", "jpg"}}) {
        const std::string name = std::string("cut.") + ext;
        ASSERT_TRUE(Holding(fixtures::MakeTexture(48, 40, 5))
                        .Save((dir / name).string(), BTCImageObject::GetCodecIdFromFormat(format)));
        Bytes bytes = fixtures::ReadFileBytes(dir / name);
        bytes.resize(bytes.size() / 2);
        cases.emplace_back(name, bytes, std::string(ext) == "jpg" ? "damaged" : name);
    }
    for (const auto& [name, bytes, expected] : cases) {
        SCOPED_TRACE(name);
        fixtures::WriteFileBytes(dir / name, bytes);
        BTCImageObject object = Holding(held);
        std::string error;
        EXPECT_FALSE(object.Load((dir / name).string(), &error));
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_NE(error.find((dir / name).string()), std::string::npos) << error;
        EXPECT_FALSE(object.LoadFromMemory(bytes.data(), bytes.size(), &error));
        EXPECT_EQ(object.GetObjectData(), held);
    }
    BTCImageObject object = Holding(held);
    std::string error;
    const std::string missing = (dir / "nowhere.png").string();
    EXPECT_FALSE(object.Load(missing, &error));
    EXPECT_NE(error.find("\"" + missing + "\": No such file"), std::string::npos) << error;
    EXPECT_EQ(object.GetObjectData(), held);
}

// Sides up to the largest load; one more, or more pixels in all than the ceiling, is refused
// from the header before any pixel memory is taken.
TEST(ImageFiles, LargestSideLoadsAndLargerImagesAreRefusedBeforeDecoding) {
    fixtures::TempDir dir;
    const int max = BTCImageData::kMaxSide;
    const struct {
        int width, height;
        bool loads;
    } cases[] = {{max, 1, true},      {1, max, true},      {max + 1, 1, false},
                 {1, max + 1, false}, {9000, 8000, false}, {max, max, false}};
    const BTCImageData held = fixtures::MakeTexture(2, 2, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const fs::path path = dir / "side.tga";
        fixtures::WriteFileBytes(
            path, HandMadeTga(c.width, c.height, 24, Bytes(std::size_t{3} * max + 3, 0x40)));
        BTCImageObject object = Holding(held);
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(object.Load(path.string(), &error), c.loads) << error;
        if (c.loads) {
            EXPECT_EQ(object.GetObjectData().GetWidth(), c.width);
            EXPECT_EQ(object.GetObjectData().GetHeight(), c.height);
        } else {
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            EXPECT_NE(error.find("larger than 16384 pixels a side or 64 megapixels in all (Image "
                                 "pixel"),
                      std::string::npos)
                << error;
            EXPECT_EQ(object.GetObjectData(), held);
        }
    }
}

TEST(ImageFiles, MagickMessagesLoseTheirLeadSourceAndEmptyDetail) {
    const std::pair<const char*, const char*> cases[] = {
        {"Magick: Pixel cache allocation failed () reported by magick/cache.c:1234 (X)",
         "Pixel cache allocation failed"},
        {"Magick: Improper image header (x.bmp)", "Improper image header (x.bmp)"},
        {"plain text", "plain text"}};
    for (const auto& [raw, shown] : cases) {
        EXPECT_EQ(images::MagickMessage(std::runtime_error(raw)), shown);
    }
}

// A folder or a pipe is not a file: refused by name at once, never waited on for a writer.
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
            // Opening the writing end lets the waiting open return.
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
    fs::create_directory(dir / "folder.raw");
    const BTCEncoderOptionsTGA tga;
    const BTCEncoderOptionsJPEG jpeg;
    const std::string missing = (dir / "nowhere" / "t.raw").string();
    const struct {
        std::string path;
        bool exported; // through ExportImage with format `code`, else Save with codec `code`
        int code;
        const BTCEncoderOptions* options;
        std::string message;
    } cases[] = {
        {missing, true, int(ExportFormat::Raw), nullptr, missing + "\": No such file or directory"},
        {missing, true, int(ExportFormat::Png), nullptr, "No such file or directory"},
        // Renaming over a folder fails after the bytes were written.
        {(dir / "folder.raw").string(), true, int(ExportFormat::Raw), nullptr, "folder.raw"},
        {kept, false, BTCImageObject::CodecUnknown, nullptr, "unknown image format"},
        {kept, false, 42, nullptr, kept},
        {kept, false, BTCImageObject::CodecJPEG, &tga, kept},
        {kept, false, BTCImageObject::CodecTGA, &jpeg, kept},
        {kept, false, BTCImageObject::CodecPNG, &jpeg, kept},
        {kept, true, 9, nullptr, kept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.code));
        std::string error;
        EXPECT_FALSE(c.exported
                         ? ExportImage(image, c.path, static_cast<ExportFormat>(c.code), {}, &error)
                         : Holding(image).Save(c.path, c.code, c.options, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(BTCImageObject().Save(kept, BTCImageObject::CodecPNG, nullptr, &error));
    EXPECT_NE(error.find("no image"), std::string::npos) << error;
    EXPECT_FALSE(ExportImage(BTCImageData(), kept, ExportFormat::Raw, {}, &error));
    EXPECT_EQ(fixtures::ReadFileBytes(kept), before);
    EXPECT_EQ(fixtures::Tree(dir.path()), (std::vector<std::string>{"folder.raw/", "keep.png"}));
}

// Export formats by dialog index, by name and by extension; 0 stands for none.
TEST(ImageFiles, FormatNamesAndOptions) {
    const auto number = [](std::optional<ExportFormat> f) { return f ? static_cast<int>(*f) : 0; };
    for (int index = 0; index <= kExportFormatCount + 1; ++index) {
        EXPECT_EQ(number(ExportFormatFromIndex(index)), index <= kExportFormatCount ? index : 0);
    }
    const std::pair<const char*, int> names[] = {{"bmp", 1},   {"PCX", 2},  {"png", 3}, {"tga", 4},
                                                 {"tiff", 5},  {"jpeg", 6}, {"raw", 7}, {"jpg", 0},
                                                 {"x.bmp", 0}, {"", 0}};
    for (const auto& [text, format] : names) {
        EXPECT_EQ(number(ExportFormatFromName(text)), format) << text;
    }
    const std::pair<const char*, int> paths[] = {
        {"x.BMP", 1},  {"a.pcx", 2}, {"a/b.png", 3}, {"t.tga", 4},        {"t.tif", 5},
        {"t.Tiff", 5}, {"j.jpg", 6}, {"j.jpe", 6},   {"j.jfif", 6},       {"j.JPEG", 6},
        {"r.raw", 7},  {"bmp", 0},   {"", 0},        {"dir.png/file", 0}, {"Texture_0", 0}};
    for (const auto& [text, format] : paths) {
        EXPECT_EQ(number(ExportFormatFromPath(text)), format) << text;
    }
    EXPECT_EQ(BTCImageObject::GetCodecIdFromFormat("Png"), BTCImageObject::CodecPNG);
    EXPECT_EQ(BTCImageObject::GetCodecIdFromFormat("JPG"), BTCImageObject::CodecUnknown);
    BTCEncoderOptionsJPEG jpeg;
    jpeg.SetOption(0, 150);
    EXPECT_EQ(jpeg.Quality(), 100);
    jpeg.SetOption(0, -3);
    jpeg.SetOption(1, 10);
    EXPECT_EQ(jpeg.Quality(), 0) << "only option 0 is the quality, and it stops at 0";
}

} // namespace
