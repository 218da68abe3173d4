#include "CliRunner.h"

#include "images/BTCImageObject.h"

#include <gtest/gtest.h>

#include <random>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

// A page of random pixels: its PNG cannot be made small.
TexturePage NoisePage() {
    TexturePage page;
    page.Create(256, 256);
    std::mt19937 rng(99);
    for (std::size_t i = 0; i < page.GetImageSize(); ++i) {
        page.GetBits()[i] = static_cast<std::uint8_t>(rng());
    }
    return page;
}

TEST(CliExtract, WritesOnePngPerTextureInSlotFolders) {
    fixtures::TempDir dir;
    const auto bytes = fixtures::SmallWad().Build();
    const auto out = dir / "sprites";
    const auto run = RunCli({"extract", WriteSample(dir, "in.swd", bytes), out.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // 463 owns sprites 2..4, 460 sprites 0..1; the empty 494 gets no folder, only its line.
    const std::vector<std::string> files{"460_SKY_GRAPHICS/0.png", "460_SKY_GRAPHICS/1.png",
                                         "463_DEFAULT_SPRITES/0.png", "463_DEFAULT_SPRITES/1.png",
                                         "463_DEFAULT_SPRITES/2.png"};
    EXPECT_EQ(
        fixtures::Tree(out),
        (std::vector<std::string>{"460_SKY_GRAPHICS/", files[0], files[1], "463_DEFAULT_SPRITES/",
                                  files[2], files[3], files[4], "objects.txt"}));
    const auto manifest = fixtures::ReadFileBytes(out / "objects.txt");
    EXPECT_EQ(std::string(manifest.begin(), manifest.end()), "463 3 2\n460 2 0\n494 0 5\n");
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwd(bytes, wad).ok());
    for (std::size_t i = 0; i < files.size(); ++i) {
        BTCImageObject png;
        std::string error;
        ASSERT_TRUE(png.Load((out / files[i]).string(), &error)) << error;
        EXPECT_TRUE(png.GetObjectData() == wad.m_textures[i]) << files[i];
    }
}

TEST(CliExtract, RealFileExtractsEveryTexture) {
    const auto real = fixtures::RealSwdDir();
    if (real.empty()) {
        GTEST_SKIP() << "no real sprite wads here";
    }
    fixtures::TempDir dir;
    const auto run = RunCli({"extract", (real / "ten_coastal.swd").string(), (dir / "x").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    SpriteWad wad;
    ASSERT_TRUE(swd::ReadSwdFile((real / "ten_coastal.swd").string(), wad).ok());
    for (int k = 0; k < 33; ++k) {
        BTCImageObject png;
        ASSERT_TRUE(
            png.Load((dir / "x" / "463_DEFAULT_SPRITES" / (std::to_string(k) + ".png")).string()));
        EXPECT_TRUE(png.GetObjectData() == wad.ObjectTexture(1, k)) << k;
    }
}

TEST(CliExtract, ClashesAreFoundBeforeAnythingIsWritten) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());

    // A texture file already there.
    std::filesystem::create_directories(dir / "a" / "463_DEFAULT_SPRITES");
    fixtures::WriteFileBytes(dir / "a" / "463_DEFAULT_SPRITES" / "2.png", {7});
    auto run = RunCli({"extract", in, (dir / "a").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vornix-cli: \"" + (dir / "a" / "463_DEFAULT_SPRITES" / "2.png").string() +
                           "\" already exists\n");
    EXPECT_EQ(fixtures::Tree(dir / "a"),
              (std::vector<std::string>{"463_DEFAULT_SPRITES/", "463_DEFAULT_SPRITES/2.png"}));
    EXPECT_EQ(fixtures::ReadFileBytes(dir / "a" / "463_DEFAULT_SPRITES" / "2.png"),
              std::vector<std::uint8_t>{7});

    // The output folder is a file.
    fixtures::WriteFileBytes(dir / "file", {1});
    run = RunCli({"extract", in, (dir / "file").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "vornix-cli: Cannot write into \"" + (dir / "file").string() +
                           "\": it is not a folder\n");

    // The list of objects already there.
    std::filesystem::create_directory(dir / "b");
    fixtures::WriteFileBytes(dir / "b" / "objects.txt", {});
    run = RunCli({"extract", in, (dir / "b").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "vornix-cli: \"" + (dir / "b" / "objects.txt").string() + "\" already exists\n");
    EXPECT_EQ(fixtures::Tree(dir / "b"), std::vector<std::string>{"objects.txt"});

    // A damaged input.
    run = RunCli({"extract",
                  WriteSample(dir, "bad.swd", fixtures::SmallWad().StatedEntryCount(6).Build()),
                  (dir / "c" / "d").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "c"));
}

TEST(CliExtract, FailedWriteRemovesWhatWasWritten) {
    fixtures::TempDir dir;
    // Small textures first, then one whose PNG cannot stay under the file size limit.
    const auto bytes = fixtures::SwdBuilder()
                           .Entry(0, 0, 0, 4, 4)
                           .Entry(4, 0, 0, 4, 4)
                           .Entry(0, 0, 1, 256, 256)
                           .Page(fixtures::MakeTexture(256, 256, 41))
                           .Page(NoisePage())
                           .Sequence(460, -2, 0)
                           .Sequence(463, -1, 2)
                           .Build();
    const std::string in = WriteSample(dir, "in.swd", bytes);
    std::filesystem::create_directory(dir / "existing");
    const auto out = dir / "existing" / "new" / "deeper";
    const auto run = RunCli({"extract", in, out.string()}, 16384);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u);
    EXPECT_NE(run.err.find("463_DEFAULT_SPRITES/0.png"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir / "existing"));
    EXPECT_TRUE(fixtures::Tree(dir / "existing").empty());
}

} // namespace
