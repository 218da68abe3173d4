// vornix-thumbnailer: the picture of a wad's first object, drawn from the part of the file it
// reads, and refusals that leave no picture behind.
#include "formats/SwdFile.h"
#include "pixels/MagentaCheckerboard.h"
#include "support/Fixtures.h"
#include "thumbnailer/ThumbnailGrid.h"

#include <Magick++.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;
using fixtures::MakeTexture;
using thumbnail::DrawGrid;

namespace {

// The picture pixel at (x, y), red, green, blue, alpha.
std::vector<int> At(const thumbnail::Picture& picture, int x, int y) {
    const std::uint8_t* p = picture.rgba.data() + (y * picture.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

std::vector<int> Opaque(const fixtures::Pixel& bgr) {
    return {bgr[2], bgr[1], bgr[0], 255};
}

// Cells are the size divided by the columns of a square grid, never above a whole page; a
// texture that fits its cell is drawn pixel for pixel in its middle, a larger one shrunk by
// the smallest whole factor, each pixel the rounded mean of its block.
TEST(ThumbnailGrid, TexturesSitInASquareGridShrunkByWholeFactors) {
    const struct {
        int count, size;
        int width, height;
    } grids[] = {{1, 128, 128, 128}, {1, 4096, 256, 256}, {2, 100, 100, 50}, {5, 256, 255, 170},
                 {64, 64, 64, 64},   {65, 64, 64, 64},    {0, 128, 0, 0}};
    for (const auto& g : grids) {
        SCOPED_TRACE(g.count);
        const std::vector<BTCImageData> textures(g.count, MakeTexture(20, 20, 1));
        const thumbnail::Picture picture = DrawGrid(textures, g.size);
        EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(g.width, g.height));
        EXPECT_EQ(picture.rgba.size(), static_cast<std::size_t>(g.width) * g.height * 4);
    }

    const BTCImageData small = MakeTexture(5, 3, 2), large = MakeTexture(256, 100, 3);
    const thumbnail::Picture picture = DrawGrid({small, large}, 200); // cells of 100
    EXPECT_EQ(At(picture, 47, 48), Opaque(fixtures::PixelAt(small, 0, 0)));
    EXPECT_EQ(At(picture, 51, 50), Opaque(fixtures::PixelAt(small, 4, 2)));
    EXPECT_EQ(At(picture, 46, 48)[3], 0) << "outside the texture stays transparent";
    // 256 wide in a cell of 100: a factor of 3, 86 x 34 pixels, the last column of one-pixel
    // wide blocks.
    const int left = 100 + 7, top = 33;
    for (const auto& [x, y] : {std::pair(0, 0), std::pair(85, 33), std::pair(40, 20)}) {
        std::vector<int> mean(4, 0);
        int n = 0;
        for (int sy = 3 * y; sy < std::min(3 * y + 3, 100); ++sy) {
            for (int sx = 3 * x; sx < std::min(3 * x + 3, 256); ++sx, ++n) {
                const auto pixel = Opaque(fixtures::PixelAt(large, sx, sy));
                for (int c = 0; c < 3; ++c) {
                    mean[c] += pixel[c];
                }
            }
        }
        for (int c = 0; c < 3; ++c) {
            mean[c] = (mean[c] + n / 2) / n;
        }
        mean[3] = 255;
        EXPECT_EQ(At(picture, left + x, top + y), mean) << x << ", " << y;
    }
    EXPECT_EQ(At(picture, left - 1, top)[3], 0);
    EXPECT_EQ(At(picture, left + 86, top)[3], 0);
}

TEST(ThumbnailGrid, MagentaIsTheCheckerboardOfThePicture) {
    BTCImageData texture = MakeTexture(32, 32, 4);
    for (int i = 0; i < 32 * 32; ++i) {
        std::uint8_t* p = texture.GetBits() + i * 3;
        p[0] = p[2] = 0xFF, p[1] = 0;
    }
    const thumbnail::Picture picture = DrawGrid({texture}, 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int level = checkerboard::Level(x, y);
            ASSERT_EQ(At(picture, x, y), (std::vector<int>{level, level, level, 255})) << x;
        }
    }
}

struct ThumbnailerRun {
    int exitCode = -1;
    std::string err;
};

ThumbnailerRun Thumbnailer(const std::vector<std::string>& args) {
    const fixtures::TempDir capture;
    std::string command = std::string("exec '") + std::getenv("VORNIX_THUMBNAILER");
    for (const std::string& arg : args) {
        command += "' '" + arg;
    }
    command += "' 2>'" + (capture / "err").string() + "' </dev/null";
    const int status = std::system(command.c_str());
    const auto err = fixtures::ReadFileBytes(capture / "err");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, {err.begin(), err.end()}};
}

thumbnail::Picture ReadPng(const std::string& path) {
    Magick::Image image;
    image.read(path);
    thumbnail::Picture picture{
        static_cast<int>(image.columns()), static_cast<int>(image.rows()), {}};
    picture.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    image.write(0, 0, picture.width, picture.height, "RGBA", Magick::CharPixel,
                picture.rgba.data());
    return picture;
}

// On real wads the program's picture is the one drawn from the first object as the full
// reader reads it; a wad whose first object holds nothing has no picture.
TEST(Thumbnailer, RealWadsGiveThePictureOfTheirFirstObject) {
    const fs::path real = fixtures::RealSwdDir();
    if (real.empty()) {
        GTEST_SKIP() << "no real sprite wads";
    }
    Magick::InitializeMagick(nullptr);
    const fixtures::TempDir dir;
    int drawn = 0;
    for (const auto& file : fs::directory_iterator(real)) {
        if (file.path().extension() != ".swd") {
            continue;
        }
        SCOPED_TRACE(file.path().filename().string());
        SpriteWad wad;
        const bool loads = swd::ReadSwdFile(file.path().string(), wad).ok();
        std::vector<BTCImageData> first;
        if (loads && !wad.m_sequences.empty()) {
            const ObjectSequence& s = wad.m_sequences[0];
            first.assign(wad.m_textures.begin() + s.firstTexture,
                         wad.m_textures.begin() + s.firstTexture + s.TextureCount());
        }
        const std::string out = (dir / (file.path().stem().string() + ".png")).string();
        const ThumbnailerRun run = Thumbnailer({"-s", "128", file.path().string(), out});
        if (first.empty()) {
            EXPECT_EQ(run.exitCode, 1) << run.err;
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const thumbnail::Picture expected = DrawGrid(first, 128), written = ReadPng(out);
        EXPECT_TRUE(written.rgba == expected.rgba); // rows of another width would differ too
        ++drawn;
    }
    EXPECT_GE(drawn, 3);
}

// A refused wad (the reader's refusals are tested with it) exits 1 and leaves a picture
// already there as it was; a wrong command line exits 2.
TEST(Thumbnailer, DamagedFilesAndBadArgumentsWriteNothing) {
    const fixtures::TempDir dir;
    const auto whole = fixtures::SmallWad().Build();
    const std::string in = (dir / "in.swd").string(), out = (dir / "out.png").string();
    fixtures::WriteFileBytes(out, {1, 2, 3});
    for (const auto& bytes : {fixtures::SmallWad().StatedEntryCount(4).Build(),
                              std::vector<std::uint8_t>(whole.begin(), whole.end() - 1)}) {
        fixtures::WriteFileBytes(in, bytes);
        const ThumbnailerRun run = Thumbnailer({"-s", "64", in, out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.rfind("vornix-thumbnailer: ", 0), 0u) << run.err;
        EXPECT_EQ(fixtures::ReadFileBytes(out), (std::vector<std::uint8_t>{1, 2, 3}));
    }
    // A wad with nothing to show, and what it lacks.
    SpriteWad empty;
    fixtures::WriteFileBytes(in, swd::SerializeSwd(empty));
    EXPECT_EQ(Thumbnailer({"-s", "64", in, out}).err,
              "vornix-thumbnailer: \"" + in + "\" holds no objects to show\n");
    empty.AddObject(460);
    fixtures::WriteFileBytes(in, swd::SerializeSwd(empty));
    EXPECT_EQ(Thumbnailer({"-s", "64", in, out}).err,
              "vornix-thumbnailer: the first object of \"" + in + "\" holds no textures to show\n");
    fixtures::WriteFileBytes(in, whole);
    fs::remove(out);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-s", "7", in, out},
                                                 {"-s", "4097", in, out},
                                                 {"-s", "99999999999", in, out},
                                                 {"-s", "x", in, out},
                                                 {"-s", "64", in},
                                                 {"-t", "64", in, out}}) {
        EXPECT_EQ(Thumbnailer(args).exitCode, 2);
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Thumbnailer({"-s", "8", in, out}).exitCode, 0);
    EXPECT_TRUE(fs::exists(out));
}

} // namespace
