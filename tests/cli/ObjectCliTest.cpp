#include "CliRunner.h"

#include "objects/SwoFile.h"

#include <gtest/gtest.h>

using clitest::RunCli;
using clitest::WriteSample;

namespace {

// SmallWad: 463 owns three sprites, 460 two, 494 none.
SpriteWad SmallWadDocument() {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwd(fixtures::SmallWad().Build(), wad).ok());
    return wad;
}

TEST(CliObjects, ExportThenImportIntoAnEmptySetAndIntoOneThatHasTheObject) {
    fixtures::TempDir dir;
    const std::string small = WriteSample(dir, "small.swd", fixtures::SmallWad().Build());
    const std::string swoPath = (dir / "463.swo").string();
    const auto exported = RunCli({"export-object", small, "463", swoPath});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, "Exported 463: DEFAULT_SPRITES  Textures=3 to " + swoPath + "\n");
    const SpriteWad original = SmallWadDocument();
    swo::SwoObject file;
    ASSERT_TRUE(swo::ReadSwoFile(swoPath, file).ok());
    EXPECT_EQ(file.slotId, 463);
    ASSERT_EQ(file.textures.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(file.textures[k] == original.ObjectTexture(0, k)) << k;
    }

    const std::string empty = WriteSample(dir, "empty.swd", fixtures::SwdBuilder().Build());
    const std::string created = (dir / "created.swd").string();
    auto run = RunCli({"import-object", empty, swoPath, created});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Imported 3 textures into new object 463: DEFAULT_SPRITES  Textures=3\n");
    SpriteWad out;
    ASSERT_TRUE(swd::ReadSwdFile(created, out).ok());
    ASSERT_EQ(out.ObjectCount(), 1u);
    EXPECT_EQ(out.m_sequences[0], (ObjectSequence{463, -3, 0}));
    EXPECT_TRUE(out.m_textures == file.textures);

    const std::string merged = (dir / "merged.swd").string();
    run = RunCli({"import-object", small, swoPath, merged});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Imported 3 textures into existing object 463: DEFAULT_SPRITES  Textures=6\n");
    ASSERT_TRUE(swd::ReadSwdFile(merged, out).ok());
    ASSERT_EQ(out.ObjectCount(), 3u);
    EXPECT_EQ(out.m_sequences[0].TextureCount(), 6);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(out.ObjectTexture(0, k) == original.ObjectTexture(0, k)) << k;
        EXPECT_TRUE(out.ObjectTexture(0, 3 + k) == original.ObjectTexture(0, k)) << k;
    }
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(out.ObjectTexture(1, k) == original.ObjectTexture(1, k)) << k;
    }
}

TEST(CliObjects, FailuresWriteNothing) {
    fixtures::TempDir dir;
    const std::string small = WriteSample(dir, "small.swd", fixtures::SmallWad().Build());
    const std::string good = (dir / "good.swo").string();
    ASSERT_EQ(RunCli({"export-object", small, "460", good}).exitCode, 0);
    auto damagedBytes = fixtures::ReadFileBytes(good);
    damagedBytes.back() ^= 0xFF; // the last stream's checksum
    const std::string damaged = WriteSample(dir, "damaged.swo", damagedBytes);
    const std::vector<std::uint8_t> old{7, 7};
    const std::string kept = WriteSample(dir, "kept", old);
    const std::string fresh = (dir / "fresh").string();

    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"export-object", small, "494", kept},
         "Object 494: CUSTOM_SPRITES doesn't have any textures,\n add some first and try "
         "again..."},
        {{"export-object", small, "999", fresh}, "\"" + small + "\" has no object 999"},
        {{"import-object", small, damaged, kept},
         "This object file is damaged: texture record 2 of 2: the input data was corrupted."},
        {{"import-object", small, small, fresh}, swo::kWrongMagicMessage},
        {{"import-object", small, (dir / "none.swo").string(), fresh},
         "Cannot open \"" + (dir / "none.swo").string() + "\": No such file or directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[2]);
        const auto run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "vornix-cli: " + c.message + "\n");
    }
    EXPECT_EQ(fixtures::ReadFileBytes(kept), old);
    EXPECT_EQ(fixtures::Tree(dir.path()),
              (std::vector<std::string>{"damaged.swo", "good.swo", "kept", "small.swd"}));

    const std::vector<std::vector<std::string>> wrong{{"export-object", small, "x", fresh},
                                                      {"export-object", small, "-1", fresh},
                                                      {"export-object", small, "4294967296", fresh},
                                                      {"export-object", small, "", fresh},
                                                      {"export-object", small, "460"},
                                                      {"import-object", small, good}};
    for (const auto& args : wrong) {
        const auto run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("vornix-cli export-object IN.swd SLOT OUT.swo"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

} // namespace
