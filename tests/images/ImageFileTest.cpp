#include "images/BTCImageObject.h"
#include "images/MagickBridge.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
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

unsigned U16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
unsigned U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

bool Save(const BTCImageData& image, const fs::path& path, int codec,
          const BTCEncoderOptions* options = nullptr, std::string* error = nullptr) {
    BTCImageObject object;
    object.Attach(image);
    return object.Save(path.string(), codec, options, error);
}

// The held image a failed load must leave in place.
BTCImageObject ObjectHolding(const BTCImageData& image) {
    BTCImageObject object;
    object.Attach(image);
    return object;
}

// Smooth colours, which JPEG keeps close.
BTCImageData Gradient(int width, int height) {
    BTCImageData image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto b = static_cast<std::uint32_t>(x * 255 / (width - 1));
            const auto g = static_cast<std::uint32_t>(y * 255 / (height - 1));
            const auto r = static_cast<std::uint32_t>(128 + (x - y) / 4);
            image.Fill(x, y, 1, 1, b << 16 | g << 8 | r);
        }
    }
    return image;
}

double MeanDifference(const BTCImageData& a, const BTCImageData& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.GetImageSize(); ++i) {
        sum += std::abs(a.GetBits()[i] - b.GetBits()[i]);
    }
    return sum / static_cast<double>(a.GetImageSize());
}

// A TGA written byte by byte: uncompressed, top-left origin.
Bytes HandMadeTga(int width, int height, int bitsPerPixel, const Bytes& pixels) {
    Bytes out(18 + pixels.size(), 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = static_cast<std::uint8_t>(bitsPerPixel);
    out[17] = static_cast<std::uint8_t>(0x20 | (bitsPerPixel == 32 ? 8 : 0));
    std::copy(pixels.begin(), pixels.end(), out.begin() + 18);
    return out;
}

TEST(ImageFiles, LosslessFormatsRoundTripPixelExactFromFileAndMemory) {
    fixtures::TempDir dir;
    const BTCImageData original = fixtures::MakeTexture(37, 23, 11); // odd width: no row padding
    BTCEncoderOptionsTGA runLength;
    runLength.SetOption(0, 1);
    const struct {
        const char* format;
        const BTCEncoderOptions* options;
    } cases[] = {{"BMP", nullptr}, {"PCX", nullptr},    {"PNG", nullptr},
                 {"TGA", nullptr}, {"TGA", &runLength}, {"TIFF", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const fs::path path = dir / (std::string("round.") + c.format);
        std::string error;
        ASSERT_TRUE(
            Save(original, path, BTCImageObject::GetCodecIdFromFormat(c.format), c.options, &error))
            << error;
        BTCImageObject loaded;
        ASSERT_TRUE(loaded.Load(path.string(), &error)) << error;
        EXPECT_EQ(loaded.GetObjectData(), original);
        // From memory the format is found by content alone, TGA included.
        const Bytes bytes = fixtures::ReadFileBytes(path);
        BTCImageObject fromMemory;
        ASSERT_TRUE(fromMemory.LoadFromMemory(bytes.data(), bytes.size(), &error)) << error;
        EXPECT_EQ(fromMemory.GetObjectData(), original);
    }
}

TEST(ImageFiles, JpegRoundTripsCloselyAndFollowsTheQuality) {
    fixtures::TempDir dir;
    const BTCImageData smooth = Gradient(64, 48);
    ASSERT_TRUE(Save(smooth, dir / "default.jpg", BTCImageObject::CodecJPEG));
    BTCImageObject loaded;
    ASSERT_TRUE(loaded.Load((dir / "default.jpg").string()));
    ASSERT_EQ(loaded.GetObjectData().GetWidth(), 64);
    ASSERT_EQ(loaded.GetObjectData().GetHeight(), 48);
    EXPECT_LT(MeanDifference(loaded.GetObjectData(), smooth), 3.0);

    const BTCImageData busy = fixtures::MakeTexture(64, 64, 3);
    BTCEncoderOptionsJPEG low;
    low.SetOption(0, 30);
    BTCEncoderOptionsJPEG high;
    high.SetOption(0, 100);
    ASSERT_TRUE(Save(busy, dir / "low.jpg", BTCImageObject::CodecJPEG, &low));
    ASSERT_TRUE(Save(busy, dir / "high.jpg", BTCImageObject::CodecJPEG, &high));
    BTCImageObject fine;
    ASSERT_TRUE(fine.Load((dir / "high.jpg").string()));
    BTCImageObject coarse;
    ASSERT_TRUE(coarse.Load((dir / "low.jpg").string()));
    EXPECT_LT(MeanDifference(fine.GetObjectData(), busy),
              MeanDifference(coarse.GetObjectData(), busy));
}

// Writers keep plain full-colour layouts even for few colours; TGA run-length only on request.
TEST(ImageFiles, WritersUsePlainTwentyFourBitLayouts) {
    fixtures::TempDir dir;
    BTCImageData twoColours;
    ASSERT_TRUE(twoColours.Create(5, 3));
    twoColours.Fill(0, 0, 2, 3, 0xFFFFFFu);
    const auto saved = [&](const char* name, int codec, const BTCEncoderOptions* options) {
        EXPECT_TRUE(Save(twoColours, dir / name, codec, options));
        return fixtures::ReadFileBytes(dir / name);
    };
    const Bytes bmp = saved("a.bmp", BTCImageObject::CodecBMP, nullptr);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(U32(bmp, 22), 3u);  // height, positive: bottom-up rows
    EXPECT_EQ(U16(bmp, 28), 24u); // bits per pixel
    EXPECT_EQ(U32(bmp, 30), 0u);  // BI_RGB
    const unsigned pixelStart = U32(bmp, 10);
    EXPECT_EQ(bmp.size(), pixelStart + 3u * 16u); // rows of 15 bytes padded to 16
    EXPECT_EQ(bmp.at(pixelStart), 0xFF);          // white on the left
    EXPECT_EQ(bmp.at(pixelStart + 6), 0x00);

    const Bytes png = saved("a.png", BTCImageObject::CodecPNG, nullptr);
    EXPECT_EQ(png.at(24), 8); // bit depth
    EXPECT_EQ(png.at(25), 2); // truecolour, no palette
    const Bytes pcx = saved("a.pcx", BTCImageObject::CodecPCX, nullptr);
    EXPECT_EQ(pcx.at(3), 8);  // bits per plane
    EXPECT_EQ(pcx.at(65), 3); // planes

    BTCEncoderOptionsTGA runLength;
    runLength.SetOption(0, 1);
    BTCEncoderOptionsTGA plain;
    plain.SetOption(0, 0);
    EXPECT_EQ(saved("default.tga", BTCImageObject::CodecTGA, nullptr).at(2), 2)
        << "run-length is off unless asked for";
    const Bytes tga = saved("plain.tga", BTCImageObject::CodecTGA, &plain);
    EXPECT_EQ(tga.at(2), 2);
    EXPECT_EQ(tga.at(16), 24);
    const Bytes rle = saved("rle.tga", BTCImageObject::CodecTGA, &runLength);
    EXPECT_EQ(rle.at(2), 10);
    EXPECT_LT(rle.size(), tga.size());
}

TEST(ImageFiles, PalettedPngAndAlphaTgaLoadAsTwentyFourBits) {
    images::EnsureMagick();
    fixtures::TempDir dir;
    const std::array<Pixel, 4> palette{Pixel{0x10, 0x20, 0x30}, Pixel{0xFF, 0x00, 0x00},
                                       Pixel{0x00, 0xFF, 0x80}, Pixel{0xFE, 0xFD, 0xFC}};
    Bytes bgr;
    for (int i = 0; i < 6 * 4; ++i) {
        const Pixel& p = palette[(i * 7 / 3) % 4];
        bgr.insert(bgr.end(), p.begin(), p.end());
    }
    Magick::Image paletted(6, 4, "BGR", Magick::CharPixel, bgr.data());
    paletted.type(Magick::PaletteType);
    paletted.write((dir / "paletted.png").string());
    const Bytes png = fixtures::ReadFileBytes(dir / "paletted.png");
    ASSERT_EQ(png.at(25), 3) << "the fixture must really be a paletted PNG";

    BTCImageObject object;
    std::string error;
    ASSERT_TRUE(object.Load((dir / "paletted.png").string(), &error)) << error;
    const BTCImageData& loaded = *object.GetObjectDataPtr();
    ASSERT_EQ(loaded.GetImageSize(), bgr.size());
    EXPECT_TRUE(std::equal(bgr.begin(), bgr.end(), loaded.GetBits()));

    Bytes bgra;
    for (int i = 0; i < 3 * 2; ++i) {
        const Pixel& p = palette[i % 4];
        bgra.insert(bgra.end(), p.begin(), p.end());
        bgra.push_back(static_cast<std::uint8_t>(i * 50)); // alpha, 0 included
    }
    fixtures::WriteFileBytes(dir / "alpha.tga", HandMadeTga(3, 2, 32, bgra));
    ASSERT_TRUE(object.Load((dir / "alpha.tga").string(), &error)) << error;
    const BTCImageData& opaque = *object.GetObjectDataPtr();
    ASSERT_EQ(opaque.GetWidth(), 3);
    ASSERT_EQ(opaque.GetHeight(), 2);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(fixtures::PixelAt(opaque, i % 3, i / 3), palette[i % 4]) << "pixel " << i;
    }
}

// Colours with one channel at full strength need no black ink, so every CMYK convention
// agrees on them; exporting the raw channels instead would give inverted, swapped colours.
TEST(ImageFiles, CmykJpegLoadsInRgb) {
    images::EnsureMagick();
    fixtures::TempDir dir;
    BTCImageData fullRed;
    ASSERT_TRUE(fullRed.Create(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            fullRed.Fill(x, y, 1, 1, static_cast<std::uint32_t>(x * 8 << 16 | y * 8 << 8 | 0xFF));
        }
    }
    Magick::Image picture(32, 32, "BGR", Magick::CharPixel, fullRed.GetBits());
    picture.colorSpace(Magick::CMYKColorspace);
    picture.write("JPEG:" + (dir / "cmyk.jpg").string());
    BTCImageObject object;
    std::string error;
    ASSERT_TRUE(object.Load((dir / "cmyk.jpg").string(), &error)) << error;
    EXPECT_LT(MeanDifference(object.GetObjectData(), fullRed), 4.0);
}

TEST(ImageFiles, DamagedFilesFailCleanlyAndKeepTheHeldImage) {
    fixtures::TempDir dir;
    const BTCImageData held = fixtures::MakeTexture(4, 4, 77);
    const BTCImageData picture = fixtures::MakeTexture(48, 40, 5);
    for (const char* format : {"BMP", "PCX", "PNG", "TGA", "TIFF", "JPEG"}) {
        SCOPED_TRACE(format);
        const fs::path good = dir / (std::string("good.") + format);
        ASSERT_TRUE(Save(picture, good, BTCImageObject::GetCodecIdFromFormat(format)));
        Bytes bytes = fixtures::ReadFileBytes(good);
        bytes.resize(bytes.size() / 2);
        const fs::path cut = dir / (std::string("cut.") + format);
        fixtures::WriteFileBytes(cut, bytes);

        BTCImageObject object = ObjectHolding(held);
        std::string error;
        EXPECT_FALSE(object.Load(cut.string(), &error));
        EXPECT_NE(error.find(cut.string()), std::string::npos) << error;
        if (std::string(format) == "JPEG") {
            EXPECT_NE(error.find("damaged"), std::string::npos) << error;
        }
        EXPECT_EQ(object.GetObjectData(), held);
        EXPECT_FALSE(object.LoadFromMemory(bytes.data(), bytes.size(), &error));
        EXPECT_EQ(object.GetObjectData(), held);
    }
}

TEST(ImageFiles, GarbageForeignFormatsAndMissingFilesAreRefused) {
    fixtures::TempDir dir;
    const BTCImageData held = fixtures::MakeTexture(2, 3, 1);
    Bytes garbage(300);
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<std::uint8_t>(0xFF - i % 7);
    }
    const std::string postScript = "%!PS-Adobe-3.0\n/x 1 def showpage\n";
    const Bytes ps(postScript.begin(), postScript.end());
    const struct {
        const char* name;
        const Bytes* bytes;
        const char* expected;
    } cases[] = {{"garbage.png", &garbage, "not a BMP, PCX, PNG, TGA, TIFF or JPEG image"},
                 {"garbage.tga", &garbage, "garbage.tga"},
                 {"renamed.tga", &ps, "is a PS file"},
                 {"empty.bmp", nullptr, "empty.bmp"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::WriteFileBytes(dir / c.name, c.bytes != nullptr ? *c.bytes : Bytes{});
        BTCImageObject object = ObjectHolding(held);
        std::string error;
        EXPECT_FALSE(object.Load((dir / c.name).string(), &error));
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_EQ(object.GetObjectData(), held);
    }
    BTCImageObject object = ObjectHolding(held);
    std::string error;
    EXPECT_FALSE(object.LoadFromMemory(ps.data(), ps.size(), &error));
    EXPECT_NE(error.find("is a PS file"), std::string::npos) << error;
    EXPECT_FALSE(object.LoadFromMemory(nullptr, 0, &error));
    EXPECT_EQ(object.GetObjectData(), held);

    const std::string missing = (dir / "nowhere.png").string();
    EXPECT_FALSE(object.Load(missing, &error));
    EXPECT_NE(error.find("\"" + missing + "\": No such file"), std::string::npos) << error;
    EXPECT_EQ(object.GetObjectData(), held);
}

// Sides up to the largest load; one more is refused before decoding.
TEST(ImageFiles, LargestSideLoadsAndLargerImagesAreRefusedBeforeDecoding) {
    fixtures::TempDir dir;
    const int max = BTCImageData::kMaxSide;
    const struct {
        int width, height;
        bool loads;
    } cases[] = {{max, 1, true}, {1, max, true}, {max + 1, 1, false}, {1, max + 1, false}};
    BTCImageObject object;
    std::string error;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        // A complete, well-formed TGA whose only fault may be its size.
        const fs::path path = dir / "side.tga";
        fixtures::WriteFileBytes(
            path, HandMadeTga(c.width, c.height, 24, Bytes(std::size_t{3} * max + 3, 0x40)));
        ASSERT_EQ(object.Load(path.string(), &error), c.loads) << error;
        if (c.loads) {
            EXPECT_EQ(object.GetObjectData().GetWidth(), c.width);
            EXPECT_EQ(object.GetObjectData().GetHeight(), c.height);
        } else {
            EXPECT_NE(error.find("larger than 16384 pixels a side"), std::string::npos) << error;
            EXPECT_NE(error.find(std::to_string(max + 1)), std::string::npos) << error;
        }
    }

    // A BMP header claiming 60000 x 60000 pixels over a few bytes of data.
    Bytes bmp(54 + 64, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[10] = 54;
    bmp[14] = 40;
    for (std::size_t at : {18u, 22u}) {
        bmp[at] = 0x60;
        bmp[at + 1] = 0xEA;
    }
    bmp[26] = 1;
    bmp[28] = 24;
    fixtures::WriteFileBytes(dir / "huge.bmp", bmp);
    const BTCImageData held = object.GetObjectData();
    EXPECT_FALSE(object.Load((dir / "huge.bmp").string(), &error));
    EXPECT_NE(error.find("huge.bmp"), std::string::npos) << error;
    EXPECT_EQ(object.GetObjectData(), held);
}

// A folder or a pipe is not a file: refused by name at once, never waited on for a writer.
TEST(ImageFiles, FoldersAndPipesAreNotFiles) {
    fixtures::TempDir dir;
    const fs::path pipe = dir / "pipe.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const fs::path& path : {dir.path(), pipe}) {
        auto load = std::async(std::launch::async, [path] {
            BTCImageObject object;
            std::string error;
            EXPECT_FALSE(object.Load(path.string(), &error));
            return error;
        });
        if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            ADD_FAILURE() << "loading " << path << " waits for a writer";
            // Opening the writing end lets the waiting open return.
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
        }
        const std::string error = load.get();
        EXPECT_NE(error.find("\"" + path.string() + "\": it is not a file"), std::string::npos)
            << error;
    }
}

TEST(ImageFiles, SaveRefusesMissingPixelsUnknownCodecsAndWrongOptions) {
    fixtures::TempDir dir;
    const fs::path path = dir / "keep.png";
    const BTCImageData image = fixtures::MakeTexture(3, 3, 3);
    ASSERT_TRUE(Save(image, path, BTCImageObject::CodecPNG));
    const Bytes before = fixtures::ReadFileBytes(path);

    std::string error;
    EXPECT_FALSE(BTCImageObject().Save(path.string(), BTCImageObject::CodecPNG, nullptr, &error));
    EXPECT_NE(error.find("no image"), std::string::npos) << error;
    EXPECT_FALSE(Save(image, path, BTCImageObject::CodecUnknown, nullptr, &error));
    EXPECT_NE(error.find("unknown image format"), std::string::npos) << error;
    EXPECT_FALSE(Save(image, path, 42, nullptr, &error));
    const BTCEncoderOptionsTGA tga;
    const BTCEncoderOptionsJPEG jpeg;
    EXPECT_FALSE(Save(image, path, BTCImageObject::CodecJPEG, &tga, &error));
    EXPECT_FALSE(Save(image, path, BTCImageObject::CodecTGA, &jpeg, &error));
    EXPECT_FALSE(Save(image, path, BTCImageObject::CodecPNG, &jpeg, &error));
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_EQ(fixtures::ReadFileBytes(path), before);
}

TEST(ImageFiles, SaveReplacesWholeFilesAndLeavesNothingBehind) {
    fixtures::TempDir dir;
    const fs::path path = dir / "out.bmp";
    fixtures::WriteFileBytes(path, Bytes(100000, 0xAA)); // longer than what replaces it
    const BTCImageData image = fixtures::MakeTexture(5, 5, 9);
    ASSERT_TRUE(Save(image, path, BTCImageObject::CodecBMP));
    BTCImageObject loaded;
    ASSERT_TRUE(loaded.Load(path.string()));
    EXPECT_EQ(loaded.GetObjectData(), image);

    // Renaming over a folder fails after the bytes were written: the folder stays and the
    // temporary file goes.
    fs::create_directory(dir / "folder.png");
    fixtures::WriteFileBytes(dir / "folder.png" / "inside", Bytes{1});
    std::string error;
    EXPECT_FALSE(Save(image, dir / "folder.png", BTCImageObject::CodecPNG, nullptr, &error));
    EXPECT_NE(error.find("folder.png"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir / "folder.png"));

    EXPECT_FALSE(
        Save(image, dir / "no-such-folder" / "x.png", BTCImageObject::CodecPNG, nullptr, &error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;

    EXPECT_EQ(fixtures::Tree(dir.path()),
              (std::vector<std::string>{"folder.png/", "folder.png/inside", "out.bmp"}));
}

TEST(ImageFiles, CodecNamesIgnoreCaseAndEncoderOptionsClamp) {
    EXPECT_EQ(BTCImageObject::GetCodecIdFromFormat("Png"), BTCImageObject::CodecPNG);
    EXPECT_EQ(BTCImageObject::GetCodecIdFromFormat("jpeg"), BTCImageObject::CodecJPEG);
    for (const char* other : {"", "JPG", "TIF", "BMP3"}) {
        EXPECT_EQ(BTCImageObject::GetCodecIdFromFormat(other), BTCImageObject::CodecUnknown)
            << other;
    }
    BTCEncoderOptionsJPEG jpeg;
    jpeg.SetOption(0, 150);
    EXPECT_EQ(jpeg.Quality(), 100);
    jpeg.SetOption(0, -3);
    EXPECT_EQ(jpeg.Quality(), 0);
    jpeg.SetOption(1, 10);
    EXPECT_EQ(jpeg.Quality(), 0) << "only option 0 is the quality";
    BTCEncoderOptionsTGA tga;
    tga.SetOption(0, 2);
    EXPECT_TRUE(tga.RunLength());
}

} // namespace
