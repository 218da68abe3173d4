#include "CliRunner.h"

#include <gtest/gtest.h>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

TEST(CliRepack, OutputReloadsToTheSameObjectsAndPixels) {
    fixtures::TempDir dir;
    const auto bytes = fixtures::SmallWad().Build();
    const std::string out = (dir / "out.swd").string();
    const auto run = RunCli({"repack", WriteSample(dir, "in.swd", bytes), out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");

    SpriteWad original;
    SpriteWad repacked;
    swd::SwdFileInfo info;
    ASSERT_TRUE(swd::ReadSwd(bytes, original).ok());
    const swd::Result r = swd::ReadSwdFile(out, repacked, &info);
    ASSERT_TRUE(r.ok()) << r.message;
    clitest::ExpectSameContent(repacked, original);
    EXPECT_EQ(run.out, "Packed 5 textures onto " + std::to_string(info.pageCount) + " pages\n");
    EXPECT_GE(info.pageCount, 1u);
}

TEST(CliRepack, RealFilesRepackToTheSameObjectsAndPixels) {
    const auto real = fixtures::RealSwdDir();
    if (real.empty()) {
        GTEST_SKIP() << "no real sprite wads here";
    }
    fixtures::TempDir dir;
    for (const char* name : {"ten_coastal.swd", "tdr_title.swd", "trfr_font_times.swd",
                             "trfr_lvl1_stale_tail.swd", "empty16.swd"}) {
        SCOPED_TRACE(name);
        const std::string out = (dir / name).string();
        const auto run = RunCli({"repack", (real / name).string(), out});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        SpriteWad original;
        SpriteWad repacked;
        ASSERT_TRUE(swd::ReadSwdFile((real / name).string(), original).ok());
        ASSERT_TRUE(swd::ReadSwdFile(out, repacked).ok());
        clitest::ExpectSameContent(repacked, original);
    }
}

TEST(CliRepack, FailureWritesNothing) {
    fixtures::TempDir dir;
    const std::string damaged =
        WriteSample(dir, "damaged.swd", fixtures::SmallWad().StatedSequenceCount(9).Build());
    const std::vector<std::uint8_t> old{1, 2, 3};
    const std::string kept = WriteSample(dir, "kept.swd", old);

    auto run = RunCli({"repack", damaged, kept});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("vornix-cli: This sprite wad is damaged: ", 0), 0u) << run.err;
    EXPECT_EQ(fixtures::ReadFileBytes(kept), old);

    const std::string good = WriteSample(dir, "good.swd", fixtures::SmallWad().Build());
    const std::string nowhere = (dir / "missing" / "out.swd").string();
    run = RunCli({"repack", good, nowhere});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "vornix-cli: Cannot write the file \"" + nowhere + "\": No such file or directory\n");

    // A write cut short (file size limit) leaves the old output whole.
    run = RunCli({"repack", good, kept}, 4096);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(fixtures::ReadFileBytes(kept), old);
    EXPECT_EQ(fixtures::Tree(dir.path()),
              (std::vector<std::string>{"damaged.swd", "good.swd", "kept.swd"}));
}

} // namespace
