#include "CliRunner.h"

#include <gtest/gtest.h>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

TEST(CliInfo, ListsTheCountsTheFileStatesItsObjectsAndTextures) {
    fixtures::TempDir dir;
    const auto run = RunCli({"info", WriteSample(dir, "sample.swd", fixtures::SmallWad().Build())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "version 129, entries 5, pages 2, objects 3\n"
                       "463: DEFAULT_SPRITES  Textures=3\n"
                       "  Texture 0 :  (56 x 56)\n"
                       "  Texture 1 :  (1 x 1)\n"
                       "  Texture 2 :  (256 x 3)\n"
                       "460: SKY_GRAPHICS  Textures=2\n"
                       "  Texture 0 :  (64 x 64)\n"
                       "  Texture 1 :  (32 x 16)\n"
                       "494: CUSTOM_SPRITES  Textures=0\n");

    // D is two pages and 5 bytes, and 3 bytes follow the last sequence.
    const auto odd = fixtures::SmallWad().StatedPageBytes(2 * 196608 + 5).Tail({1, 2, 3}).Build();
    const auto oddRun = RunCli({"info", WriteSample(dir, "odd.swd", odd)});
    EXPECT_EQ(oddRun.exitCode, 0) << oddRun.err;
    EXPECT_EQ(oddRun.out.substr(0, oddRun.out.find('\n')),
              "version 129, entries 5, pages 2, objects 3");

    const auto empty =
        RunCli({"info", WriteSample(dir, "empty.swd", fixtures::SwdBuilder().Build())});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "version 129, entries 0, pages 0, objects 0\n");
}

TEST(CliInfo, UnreadableFilesAreReportedOnStandardError) {
    fixtures::TempDir dir;
    const std::string missing = (dir / "missing.swd").string();
    const std::vector<std::pair<std::string, std::string>> cases{
        {missing, "Cannot open the file \"" + missing + "\": No such file or directory"},
        {WriteSample(dir, "v130.swd", fixtures::SwdBuilder().Version(130).Build()),
         swd::kWrongVersionMessage},
        {WriteSample(dir, "damaged.swd", fixtures::SmallWad().StatedEntryCount(70000).Build()),
         "This sprite wad is damaged: it states 70000 sprites, more than the 65536 a sprite wad "
         "can hold"}};
    for (const auto& [path, message] : cases) {
        const auto run = RunCli({"info", path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "vornix-cli: " + message + "\n");
    }
}

TEST(CliUsage, WrongArgumentsExitWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> wrong{{},
                                                      {"frobnicate", "a.swd"},
                                                      {"info"},
                                                      {"info", "a", "b"},
                                                      {"repack", "a"},
                                                      {"extract", "a"},
                                                      {"extract", "a", "b", "c"},
                                                      {"build", "a"},
                                                      {"build", "--recover", "a", "b"}};
    for (const auto& args : wrong) {
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Usage: vornix-cli info [--recover] FILE.swd"), std::string::npos);
    }
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("vornix-cli build DIR OUT.swd"), std::string::npos);
}

} // namespace
