#include "images/BTCImageObject.h"
#include "images/BTCImageResample.h"
#include "images/ImageFitting.h"
#include "images/MagickBridge.h"
#include "images/ResizeMath.h"
#include "images/TextureExport.h"
#include "io/LittleEndian.h"
#include "pixels/SplitImage.h"
#include "support/Fixtures.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <Magick++.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using fixtures::Pixel;

unsigned U32(const Bytes& b, std::size_t at) {
    return io::LoadU32(&b.at(at + 3) - 3);
}

// The header of an uncompressed 24-bit TGA with top-left origin, followed by `pixels`.
Bytes HandMadeTga(int width, int height, const Bytes& pixels) {
    Bytes out{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    fixtures::PutLE(out, static_cast<std::uint32_t>(width | height << 16));
    fixtures::PutLE(out, 0x2018, 2); // 24 bits a pixel, top row first
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Each file replaces a longer one whole and reads back exactly from disk and from memory.
TEST(ImageFiles, LosslessExportsRoundTripPixelExactWithPlainHeaders) {
    fixtures::TempDir dir;
    const BTCImageData texture = fixtures::MakeTexture(37, 23, 5); // odd width: row padding
    const struct {
        const char* name;
        ImageFormat format;
        int runLength, headerAt, headerValue;
    } cases[] = {
        {"t.bmp", ImageFormat::Bmp, false, 28, 24},  // 24 bits per pixel
        {"t.pcx", ImageFormat::Pcx, false, 65, 3},   // three colour planes
        {"t.png", ImageFormat::Png, false, 25, 2},   // truecolour, no palette
        {"t.tga", ImageFormat::Tga, false, 2, 2},    // uncompressed true colour
        {"r.tga", ImageFormat::Tga, true, 2, 10},    // run-length true colour
        {"t.tif", ImageFormat::Tiff, false, 0, 'I'}, // little-endian TIFF
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::WriteFileBytes(dir / c.name, Bytes(100000, 0xAA));
        const Status saved =
            ExportImage(texture, (dir / c.name).string(), c.format, {100, c.runLength == 1});
        ASSERT_TRUE(saved) << saved.message();
        const Bytes bytes = fixtures::ReadFileBytes(dir / c.name);
        EXPECT_EQ(bytes.at(static_cast<std::size_t>(c.headerAt)), c.headerValue);
        BTCImageObject loaded;
        const Status read = loaded.Load((dir / c.name).string());
        ASSERT_TRUE(read) << read.message();
        EXPECT_EQ(loaded.GetObjectData(), texture);
        const Status decoded = loaded.LoadFromMemory(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded) << decoded.message();
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
    ASSERT_TRUE(ExportImage(texture, (dir / "a.jpg").string(), ImageFormat::Jpeg, {10, false}));
    ASSERT_TRUE(ExportImage(texture, (dir / "b.jpg").string(), ImageFormat::Jpeg, {100, false}));
    EXPECT_LT(fs::file_size(dir / "a.jpg"), fs::file_size(dir / "b.jpg"));
    const BTCImageData small = fixtures::MakeTexture(5, 3, 2);
    ASSERT_TRUE(ExportImage(small, (dir / "t.raw").string(), ImageFormat::Raw));
    Bytes expected;
    for (int i = 0; i < 15; ++i) {
        const Pixel p = fixtures::PixelAt(small, i % 5, 2 - i / 5);
        expected.insert(expected.end(), p.begin(), p.end());
    }
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "t.raw"), expected);
}

// A CMYK TIFF holds ink values; it loads in its true colours.
TEST(ImageFiles, CmykLoadsInItsTrueColours) {
    images::EnsureMagick();
    fixtures::TempDir dir;
    BTCImageData source = fixtures::MakeTexture(16, 16, 4);
    for (std::size_t i = 2; i < source.GetImageSize(); i += 3) {
        source.GetBits()[i] = 0xFF; // full red needs no black ink: the inks convert back exactly
    }
    Magick::Image picture(16, 16, "BGR", Magick::CharPixel, source.GetBits());
    picture.type(Magick::ColorSeparationType);
    picture.write((dir / "ink.tif").string());
    BTCImageObject object;
    ASSERT_TRUE(object.Load((dir / "ink.tif").string()));
    EXPECT_EQ(object.GetObjectData(), source);
}

// Each is refused naming the file; a folder or a pipe at once, never waited on for a writer.
TEST(ImageFiles, DamagedForeignAndMissingFilesAreRefusedKeepingTheHeldImage) {
    fixtures::TempDir dir;
    const BTCImageData held = fixtures::MakeTexture(4, 4, 77);
    const std::string ps = "%!PS-Adobe-3.0\n/x 1 def showpage\n";
    const Bytes garbage(300, 0xF9);
    struct Case {
        std::string name;
        Bytes bytes;
        std::string expected;
        Fault fault;
    };
    std::vector<Case> cases = {
        {"garbage.png", garbage, "not a BMP, PCX, PNG, TGA, TIFF or JPEG image",
         Fault::WrongFormat},
        {"garbage.tga", garbage, "garbage.tga", Fault::Damaged},
        {"renamed.tga", Bytes(ps.begin(), ps.end()), "is a PS file", Fault::WrongFormat},
        {"empty.bmp", {}, "empty.bmp", Fault::WrongFormat},
        {"missing.png", {}, "\": No such file", Fault::OpenFailed},
        {"folder.png", {}, "\": it is not a file.", Fault::OpenFailed},
        {"pipe.png", {}, "\": it is not a file.", Fault::OpenFailed},
    };
    fixtures::WriteFileBytes(dir / "empty.bmp", {});
    fs::create_directory(dir / "folder.png");
    ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    for (const auto& [format, ext] : {std::pair{ImageFormat::Png, "png"},
                                      {ImageFormat::Tga, "tga"},
                                      {ImageFormat::Jpeg, "jpg"}}) {
        const fs::path path = dir / (std::string("cut.") + ext);
        ASSERT_TRUE(ExportImage(fixtures::MakeTexture(48, 40, 5), path.string(), format));
        Bytes bytes = fixtures::ReadFileBytes(path);
        bytes.resize(bytes.size() / 2);
        cases.push_back({path.filename(), bytes,
                         std::string(ext) == "jpg" ? "damaged" : path.filename().string(),
                         Fault::Damaged});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) {
            fixtures::WriteFileBytes(dir / c.name, c.bytes);
        }
        BTCImageObject object;
        object.Attach(held);
        const Status read = object.Load((dir / c.name).string());
        const std::string& error = read.message();
        EXPECT_EQ(read.fault(), c.fault);
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_NE(error.find((dir / c.name).string()), std::string::npos) << error;
        EXPECT_FALSE(object.LoadFromMemory(c.bytes.data(), c.bytes.size()));
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
        fixtures::WriteFileBytes(path,
                                 HandMadeTga(width, height, Bytes(std::size_t{3} * max + 3, 0x40)));
        BTCImageObject object;
        object.Attach(held);
        const auto start = std::chrono::steady_clock::now();
        const Status read = object.Load(path.string());
        const std::string& error = read.message();
        ASSERT_EQ(read.ok(), loads == 1) << error;
        const BTCImageData& data = object.GetObjectData();
        if (loads) {
            EXPECT_EQ(std::pair(data.GetWidth(), data.GetHeight()), std::pair(width, height));
        } else {
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            EXPECT_NE(error.find("than 16384 pixels a side or 64 megapixels in all (Image pixel"),
                      std::string::npos);
            EXPECT_EQ(read.fault(), Fault::TooLarge);
            EXPECT_EQ(data, held);
        }
    }
}

TEST(ImageFiles, FailedWritesNameTheFileAndLeaveTargetsAlone) {
    fixtures::TempDir dir;
    const BTCImageData image = fixtures::MakeTexture(4, 4, 1);
    const std::string kept = (dir / "keep.png").string();
    ASSERT_TRUE(ExportImage(image, kept, ImageFormat::Png));
    const Bytes before = fixtures::ReadFileBytes(kept);
    const std::string missing = (dir / "nowhere" / "t.raw").string();
    const Status written = ExportImage(image, missing, ImageFormat::Raw);
    EXPECT_EQ(written.fault(), Fault::WriteFailed);
    EXPECT_NE(written.message().find(missing + "\": No such file or directory"), std::string::npos)
        << written.message();
    EXPECT_FALSE(ExportImage(BTCImageData(), kept, ImageFormat::Raw));
    EXPECT_EQ(fixtures::ReadFileBytes(kept), before);
    EXPECT_EQ(fixtures::Tree(dir.path()), (std::vector<std::string>{"keep.png"}));
}

using fixtures::PixelAt;

// Halves round up: 256 / 512 * 3 is 1.5 exactly.
TEST(FitImageSize, ShrinksIntoTheBoxKeepingTheRatioAndNeverEnlarges) {
    const struct {
        int boxW, boxH, w, h, fittedW, fittedH;
    } cases[] = {
        {256, 256, 100, 50, 100, 50},   {256, 256, 257, 257, 256, 256},
        {256, 256, 257, 10, 256, 10},   {256, 256, 300, 200, 256, 171},
        {256, 256, 200, 300, 171, 256}, {256, 256, 300, 299, 256, 255},
        {256, 256, 513, 1, 256, 0},     {256, 256, 1, 1000, 0, 256},
        {256, 256, 3, 512, 2, 256},     {256, 256, 512, 5, 256, 3},
        {256, 256, 256, 257, 255, 256}, {200, 50, 400, 100, 200, 50},
    };
    for (const auto& c : cases) {
        int w = c.w, h = c.h;
        FitImageSize(c.boxW, c.boxH, w, h);
        EXPECT_EQ(std::pair(w, h), std::pair(c.fittedW, c.fittedH)) << c.w << " x " << c.h;
    }
    // A texture keeps at least one pixel a side.
    BTCImageData tall = fixtures::MakeTexture(1, 1000, 1);
    ASSERT_TRUE(FitTexture(tall));
    EXPECT_EQ(std::pair(tall.GetWidth(), tall.GetHeight()), std::pair(1, 256));
}

TEST(ResizeMath, OtherSideAndRangeTarget) {
    // The other side follows the texture's proportions, truncated, without overflowing.
    EXPECT_EQ(std::pair(HeightForWidth(64, 100, 50), WidthForHeight(33, 100, 50)),
              std::pair(32, 66));
    EXPECT_EQ(std::pair(HeightForWidth(10, 3, 7), WidthForHeight(10, 3, 7)), std::pair(23, 4));
    EXPECT_EQ(std::pair(HeightForWidth(100, 256, 1), HeightForWidth(999999, 1, 256)),
              std::pair(0, 255999744));
    const struct {
        int width, height, boxWidth, boxHeight;
        bool keep;
        TextureSize expected;
    } cases[] = {
        {128, 32, 64, 64, true, {64, 16}},    {16, 16, 64, 64, true, {64, 64}},
        {30, 100, 64, 64, true, {19, 64}},    {100, 30, 64, 64, false, {64, 64}},
        {1, 256, 10, 10, true, {1, 10}},      {5, 5, 40, 20, true, {20, 20}},
        {16, 16, 512, 512, true, {256, 256}}, {16, 16, 512, 100, false, {256, 50}},
        {256, 1, 10, 10, true, {10, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RangeTargetSize(c.width, c.height, c.boxWidth, c.boxHeight, c.keep), c.expected)
            << c.width << "x" << c.height << " into " << c.boxWidth << "x" << c.boxHeight;
    }
}

// Every new pixel lies within the two levels, rising steadily, some strictly between; the asked
// size is taken exactly, not the aspect.
TEST(Resize, EnlargingATwoLevelStepIsBilinear) {
    BTCImageData step;
    ASSERT_TRUE(step.Create(8, 2));
    step.Fill(0, 0, 4, 2, 0x282828u);
    step.Fill(4, 0, 4, 2, 0xC8C8C8u);
    ASSERT_TRUE(ResampleBilinear(step, 64, 3));
    ASSERT_EQ(std::pair(step.GetWidth(), step.GetHeight()), std::pair(64, 3));
    std::vector<int> row;
    for (int x = 0; x < 64; ++x) {
        const Pixel p = PixelAt(step, x, 1);
        EXPECT_TRUE(PixelAt(step, x, 0) == p && p[0] == p[1] && p[1] == p[2]) << "x=" << x;
        row.push_back(p[0]);
    }
    EXPECT_TRUE(std::is_sorted(row.begin(), row.end()));
    EXPECT_EQ(std::pair(row.front(), row.back()), std::pair(0x28, 0xC8));
    EXPECT_GE(std::count_if(row.begin(), row.end(), [](int v) { return v > 0x28 && v < 0xC8; }), 4);
}

// ResizeTexture stretches with the stretch filter and blends with any other.
TEST(Stretch, RepeatsPixelsAndMixesNoColours) {
    const BTCImageData source = fixtures::MakeTexture(2, 2, 6);
    for (const ResizeFilter filter : {ResizeFilter::Stretch, ResizeFilter::Bilinear}) {
        BTCImageData image = source;
        ASSERT_TRUE(ResizeTexture(image, 4, 4, filter));
        bool blocks = image.GetWidth() == 4 && image.GetHeight() == 4;
        for (int i = 0; i < 16; ++i) {
            blocks = blocks && PixelAt(image, i % 4, i / 4) == PixelAt(source, i % 4 / 2, i / 8);
        }
        EXPECT_EQ(blocks, filter == ResizeFilter::Stretch);
    }
    const BTCImageData big = fixtures::MakeTexture(31, 29, 8);
    BTCImageData image = big;
    ASSERT_TRUE(ResampleNearest(image, 10, 7));
    ASSERT_EQ(std::pair(image.GetWidth(), image.GetHeight()), std::pair(10, 7));
    std::set<Pixel> all;
    for (int i = 0; i < 31 * 29; ++i) {
        all.insert(PixelAt(big, i % 31, i / 31));
    }
    for (int i = 0; i < 70; ++i) {
        EXPECT_TRUE(all.count(PixelAt(image, i % 10, i / 10))) << i;
    }
}

TEST(Scaling, TakesSidesUpToTheLargestAndRefusesOthersLeavingTheImageAlone) {
    BTCImageData image = fixtures::MakeTexture(6, 6, 2);
    const BTCImageData before = image;
    for (const auto& [w, h] : {std::pair{0, 4}, {4, -1}, {BTCImageData::kMaxSide + 1, 4}}) {
        EXPECT_FALSE(ResampleBilinear(image, w, h) || ResampleNearest(image, w, h) ||
                     BTCImageData().Create(h, w));
    }
    EXPECT_EQ(image, before);
    const int max = BTCImageData::kMaxSide;
    ASSERT_TRUE(ResampleBilinear(image, max, 2) && ResampleNearest(image, 3, max));
    EXPECT_EQ(image.GetHeight(), max);
}

std::vector<BTCImageData> SplitAll(const BTCImageData& image, int w, int h, PiecePolicy policy) {
    std::vector<BTCImageData> pieces;
    const std::size_t added = SplitImage(
        image, w, h, policy, [] { return true; },
        [&pieces](BTCImageData p) { return pieces.push_back(std::move(p)), true; });
    EXPECT_EQ(added, pieces.size());
    return pieces;
}

// Pieces in row order, edge pieces cut short or padded with magenta; sides outside 1..256 cut
// nothing.
TEST(SplitImage, GridsAndEdgePiecesForBothPolicies) {
    const int cases[][4] = {{300, 200, 128, 128}, {100, 50, 256, 256}, {33, 65, 32, 64}};
    std::uint32_t seed = 1;
    for (const auto& [w, h, pw, ph] : cases) {
        for (const PiecePolicy policy : {PiecePolicy::AllowSmaller, PiecePolicy::PadWithMagenta}) {
            SCOPED_TRACE(std::to_string(w) + " " + std::to_string(int(policy)));
            const BTCImageData image = fixtures::MakeTexture(w, h, ++seed);
            const std::vector<BTCImageData> pieces = SplitAll(image, pw, ph, policy);
            EXPECT_TRUE(fixtures::PiecesMatchSplit(image, pw, ph,
                                                   policy == PiecePolicy::PadWithMagenta, pieces));
            if (w == 300 && policy == PiecePolicy::AllowSmaller) {
                ASSERT_EQ(pieces.size(), 6u);
                EXPECT_EQ(std::pair(pieces[5].GetWidth(), pieces[5].GetHeight()),
                          std::pair(44, 72));
            }
        }
    }
    const BTCImageData image = fixtures::MakeTexture(8, 8, 4);
    EXPECT_TRUE(SplitAll(image, 0, 4, PiecePolicy::AllowSmaller).empty());
    EXPECT_TRUE(SplitAll(image, 4, 257, PiecePolicy::AllowSmaller).empty());
}

// A piece is copied only from wholly inside the image; a rectangle reaching out of it on any side
// is refused, and the piece is left as it was.
TEST(SplitImage, PiecesAreCopiedOnlyFromInsideTheImage) {
    const BTCImageData image = fixtures::MakeTexture(4, 3, 6);
    BTCImageData piece = fixtures::MakeTexture(1, 1, 7);
    const BTCImageData before = piece;
    const int outside[][4] = {
        {-1, 0, 2, 2}, {0, -1, 2, 2}, {3, 0, 2, 1}, {0, 2, 1, 2}, {0, 0, 0, 1}};
    for (const auto& [x, y, w, h] : outside) {
        EXPECT_FALSE(piece.Copy(image, x, y, w, h)) << x << ',' << y << ' ' << w << 'x' << h;
        EXPECT_EQ(piece, before);
    }
    ASSERT_TRUE(piece.Copy(image, 3, 2, 1, 1));
    EXPECT_EQ(fixtures::PixelAt(piece, 0, 0), fixtures::PixelAt(image, 3, 2));
}

// Questions answered yes, pieces `add` takes; then pieces added, questions asked, pieces offered.
TEST(SplitImage, AsksBeforeEveryRowAndPieceAndStopsWhenToldOrRefused) {
    const BTCImageData image = fixtures::MakeTexture(300, 200, 3); // 2 rows of 3 pieces
    const int cases[][5] = {
        {100, 100, 6, 8, 6}, // row, 3 pieces, row, 3 pieces
        {0, 100, 0, 1, 0},   // stopped before the first row
        {3, 100, 2, 4, 2},   // stopped before the third piece of the first row
        {4, 100, 3, 5, 3},   // stopped before the second row
        {100, 4, 4, 7, 5},   // the fifth piece refused: nothing after it is cut
    };
    for (const auto& [yes, accepted, added, asked, offered] : cases) {
        SCOPED_TRACE(std::to_string(yes) + " " + std::to_string(accepted));
        int questions = 0, offers = 0;
        EXPECT_EQ(SplitImage(
                      image, 128, 128, PiecePolicy::AllowSmaller,
                      [&] { return ++questions <= yes; },
                      [&](BTCImageData) { return ++offers <= accepted; }),
                  static_cast<std::size_t>(added));
        EXPECT_EQ(std::pair(questions, offers), std::pair(asked, offered));
    }
}

} // namespace
