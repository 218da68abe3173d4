#include "CliFixtures.h"
#include "CliRunner.h"

#include <gtest/gtest.h>

using clitest::RunCli;

namespace {

TEST(CliInfo, ListsCountsObjectsAndTextures) {
    fixtures::TempDir dir;
    const std::string path = clitest::WriteSample(dir, "sample.swd", clitest::SampleWad().Build());
    const auto run = RunCli({"info", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "version 129, entries 4, pages 2, objects 4\n"
                       "463: DEFAULT_SPRITES  Textures=2\n"
                       "  Texture 0 :  (8 x 4)\n"
                       "  Texture 1 :  (200 x 100)\n"
                       "460: SKY_GRAPHICS  Textures=1\n"
                       "  Texture 0 :  (16 x 16)\n"
                       "494: CUSTOM_SPRITES  Textures=0\n"
                       "470: FONT_GRAPHICS  Textures=1\n"
                       "  Texture 0 :  (3 x 5)\n");
}

TEST(CliInfo, FirstLineGivesTheCountsTheFileStates) {
    fixtures::TempDir dir;
    // D is two pages and 5 bytes, and 3 bytes follow the last sequence.
    const auto bytes = clitest::SampleWad().StatedPageBytes(2 * 196608 + 5).Tail({1, 2, 3}).Build();
    const auto run = RunCli({"info", clitest::WriteSample(dir, "odd.swd", bytes)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "version 129, entries 4, pages 2, objects 4");

    const auto empty =
        RunCli({"info", clitest::WriteSample(dir, "empty.swd", fixtures::SwdBuilder().Build())});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "version 129, entries 0, pages 0, objects 0\n");
}

TEST(CliInfo, UnreadableFilesAreReportedOnStandardError) {
    fixtures::TempDir dir;
    const std::string missing = (dir / "missing.swd").string();
    auto run = RunCli({"info", missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "vornix-cli: Cannot open the file \"" + missing + "\": No such file or directory\n");

    run = RunCli({"info", clitest::WriteSample(dir, "v130.swd",
                                               fixtures::SwdBuilder().Version(130).Build())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, std::string("vornix-cli: ") + swd::kWrongVersionMessage + "\n");

    const auto damaged = clitest::SampleWad().StatedEntryCount(70000).Build();
    run = RunCli({"info", clitest::WriteSample(dir, "damaged.swd", damaged)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "vornix-cli: This sprite wad is damaged: it states 70000 sprites, more than "
                       "the 65536 a sprite wad can hold\n");
}

TEST(CliUsage, WrongArgumentsExitWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> wrong{{},
                                                      {"frobnicate", "a.swd"},
                                                      {"info"},
                                                      {"info", "a", "b"},
                                                      {"repack", "a"},
                                                      {"extract", "a"},
                                                      {"extract", "a", "b", "c"}};
    for (const auto& args : wrong) {
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: vornix-cli info FILE.swd"), std::string::npos);
    }
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("vornix-cli repack IN.swd OUT.swd"), std::string::npos);
}

} // namespace
