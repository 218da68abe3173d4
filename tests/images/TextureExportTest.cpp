#include "images/TextureExport.h"
#include "images/MagickBridge.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Reads a file with GraphicsMagick alone, as another program would.
BTCImageData ReadBack(const fs::path& path) {
    images::EnsureMagick();
    Magick::Image picture;
    picture.read(path.string());
    BTCImageData out;
    EXPECT_TRUE(images::FromMagick(picture, out));
    return out;
}

double MeanDifference(const BTCImageData& a, const BTCImageData& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.GetImageSize(); ++i) {
        sum += std::abs(a.GetBits()[i] - b.GetBits()[i]);
    }
    return sum / static_cast<double>(a.GetImageSize());
}

TEST(TextureExport, FormatsByIndexNameAndExtension) {
    for (int index = 1; index <= kExportFormatCount; ++index) {
        EXPECT_EQ(ExportFormatFromIndex(index), static_cast<ExportFormat>(index));
    }
    EXPECT_FALSE(ExportFormatFromIndex(0));
    EXPECT_FALSE(ExportFormatFromIndex(8));
    const struct {
        const char* text;
        std::optional<ExportFormat> byName;
        std::optional<ExportFormat> byPath;
    } cases[] = {
        {"bmp", ExportFormat::Bmp, std::nullopt},
        {"x.BMP", std::nullopt, ExportFormat::Bmp},
        {"PCX", ExportFormat::Pcx, std::nullopt},
        {"a/b.png", std::nullopt, ExportFormat::Png},
        {"tga", ExportFormat::Tga, std::nullopt},
        {"t.tif", std::nullopt, ExportFormat::Tiff},
        {"tiff", ExportFormat::Tiff, std::nullopt},
        {"t.Tiff", std::nullopt, ExportFormat::Tiff},
        {"jpeg", ExportFormat::Jpeg, std::nullopt},
        {"j.jpg", std::nullopt, ExportFormat::Jpeg},
        {"j.jpe", std::nullopt, ExportFormat::Jpeg},
        {"j.jfif", std::nullopt, ExportFormat::Jpeg},
        {"raw", ExportFormat::Raw, std::nullopt},
        {"r.raw", std::nullopt, ExportFormat::Raw},
        {"jpg", std::nullopt, std::nullopt},
        {"dir.png/file", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"Texture_0", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExportFormatFromName(c.text), c.byName) << c.text;
        EXPECT_EQ(ExportFormatFromPath(c.text), c.byPath) << c.text;
    }
}

TEST(TextureExport, LosslessFormatsReadBackPixelExactWithPlainHeaders) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(37, 23, 5); // odd width: no row padding
    const struct {
        const char* name;
        ExportFormat format;
        bool runLength;
        std::size_t headerAt;
        std::uint8_t headerValue;
    } cases[] = {
        {"t.bmp", ExportFormat::Bmp, false, 28, 24},  // 24 bits per pixel
        {"t.pcx", ExportFormat::Pcx, false, 65, 3},   // three colour planes
        {"t.png", ExportFormat::Png, false, 25, 2},   // truecolour
        {"t.tga", ExportFormat::Tga, false, 2, 2},    // uncompressed true colour
        {"r.tga", ExportFormat::Tga, true, 2, 10},    // run-length true colour
        {"t.tif", ExportFormat::Tiff, false, 0, 'I'}, // little-endian TIFF
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExportOptions options;
        options.tgaRunLength = c.runLength;
        std::string error;
        ASSERT_TRUE(ExportImage(texture, (dir / c.name).string(), c.format, options, &error))
            << error;
        const Bytes bytes = fixtures::ReadFileBytes(dir / c.name);
        EXPECT_EQ(bytes.at(c.headerAt), c.headerValue);
        EXPECT_EQ(ReadBack(dir / c.name), texture);
    }
    const Bytes bmp = fixtures::ReadFileBytes(dir / "t.bmp");
    EXPECT_EQ(bmp.at(14), 40) << "a plain 40-byte info header";
    EXPECT_EQ(bmp.at(30), 0) << "no compression";
}

TEST(TextureExport, JpegFollowsTheQuality) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(64, 64, 9);
    std::vector<std::uintmax_t> sizes;
    for (int quality : {10, 60, 100}) {
        ExportOptions options;
        options.jpegQuality = quality;
        const fs::path path = dir / ("q" + std::to_string(quality) + ".jpg");
        ASSERT_TRUE(ExportImage(texture, path.string(), ExportFormat::Jpeg, options));
        sizes.push_back(fs::file_size(path));
        const BTCImageData back = ReadBack(path);
        ASSERT_EQ(back.GetWidth(), 64);
        ASSERT_EQ(back.GetHeight(), 64);
        if (quality == 100) {
            EXPECT_LT(MeanDifference(back, texture), 8.0);
        }
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_LT(sizes[1], sizes[2]);
}

TEST(TextureExport, RawIsTheRowsBottomUpWithNothingElse) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(5, 3, 2);
    const fs::path path = dir / "t.raw";
    fixtures::WriteFileBytes(path, Bytes(1000, 0xEE)); // longer than what replaces it
    ASSERT_TRUE(ExportImage(texture, path.string(), ExportFormat::Raw));
    const Bytes bytes = fixtures::ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 5u * 3u * 3u);
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 5; ++x) {
            const auto pixel = fixtures::PixelAt(texture, x, 2 - row);
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(bytes[static_cast<std::size_t>((row * 5 + x) * 3 + c)], pixel[c])
                    << "row " << row << " x " << x;
            }
        }
    }
    EXPECT_EQ(RawDump(texture), bytes);
}

TEST(TextureExport, FailuresNameTheFileAndLeaveTargetsAlone) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(4, 4, 1);
    const std::string missingFolder = (dir / "nowhere" / "t.raw").string();
    for (ExportFormat format : {ExportFormat::Raw, ExportFormat::Png}) {
        std::string error;
        EXPECT_FALSE(ExportImage(texture, missingFolder, format, {}, &error));
        EXPECT_NE(error.find(missingFolder), std::string::npos) << error;
        EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    }
    // A folder in the way fails after the bytes were written; nothing is left behind.
    fs::create_directory(dir / "folder.raw");
    std::string error;
    EXPECT_FALSE(
        ExportImage(texture, (dir / "folder.raw").string(), ExportFormat::Raw, {}, &error));
    EXPECT_FALSE(
        ExportImage(BTCImageData(), (dir / "empty.raw").string(), ExportFormat::Raw, {}, &error));
    EXPECT_NE(error.find("no image"), std::string::npos) << error;
    EXPECT_FALSE(
        ExportImage(texture, (dir / "odd").string(), static_cast<ExportFormat>(9), {}, &error));
    EXPECT_EQ(fixtures::Tree(dir.path()), std::vector<std::string>{"folder.raw/"});
}

} // namespace
