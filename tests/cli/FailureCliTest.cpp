#include "CliRunner.h"

#include "images/TextureExport.h"
#include "objects/SwoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>

using clitest::RunCli;
using clitest::WriteSample;

namespace fs = std::filesystem;

namespace {

struct Failure {
    std::vector<std::string> args;
    std::string message; // follows "vornix-cli: " on standard error
    std::size_t fileSizeLimit = 0;
};

// Runs each case, expecting the exit code, nothing on standard output, the message on
// standard error and every file below the folder exactly as it was.
void ExpectFailures(const fixtures::TempDir& dir, const std::vector<Failure>& cases, int exitCode) {
    const auto snapshot = [&] {
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
        for (const std::string& name : fixtures::Tree(dir.path())) {
            files.emplace_back(name, name.ends_with('/') ? std::vector<std::uint8_t>{}
                                                         : fixtures::ReadFileBytes(dir / name));
        }
        return files;
    };
    const auto before = snapshot();
    for (const Failure& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const auto run = RunCli(c.args, c.fileSizeLimit);
        EXPECT_EQ(std::pair(run.exitCode, run.out), std::pair(exitCode, std::string()));
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(snapshot() == before);
        EXPECT_EQ(run.err.find("\nUsage: vornix-cli info [--recover] FILE.swd\n") !=
                      std::string::npos,
                  exitCode == 2);
    }
}

// Wrong arguments exit with 2 and the usage; every other problem with 1 and its message.
TEST(CliFailures, EveryCommandReportsTheProblemAndWritesNothing) {
    fixtures::TempDir dir;
    const auto path = [&](const char* name) { return (dir / name).string(); };
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string kept = WriteSample(dir, "kept", {7, 7}), png = path("in.png"),
                      fresh = path("fresh"), none = path("none"), opng = path("out.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(8, 8, 1), png, ExportFormat::Png));
    // clang-format off
    ExpectFailures(dir, {
        {{}, "no command given"},
        {{"frobnicate", in}, "unknown command \"frobnicate\""},
        {{"info"}, "info takes one file"},
        {{"build", "--recover", "a", fresh}, "build does not take --recover"},
        {{"export-object", in, "4294967296", fresh}, "\"4294967296\" is not a slot number"},
        {{"split", in, "460", "i", fresh, "--piece", "0x5"}, "the piece size \"0x5\" is not WxH with sides 1 to 256"},
        {{"split", in, "460", "i", fresh, "--piece", "4294967297x5"}, "is not WxH"},
        {{"split", in, "460", "i", fresh, "--piece"}, "--piece needs a value"},
        {{"split", in, "460", "i", fresh, "--piece", "8x8", "--pad", "--pad"}, "--pad is given twice"},
        {{"split", in, "460", "i", fresh, "--piece", "8x8", "--fast"}, "unknown option --fast"},
        {{"resize", in, "463", "-1", "2", fresh, "--size", "8x8"}, "the slot and the first and last line must be numbers"},
        {{"resize", in, "463", "0", "2", fresh, "--size", "8x8", "--filter", "cubic"}, "the filter must be stretch or bilinear"},
        {{"export-texture", in, "460", "0", fresh, "--quality"}, "--quality needs a value"},
        {{"export-texture", in, "460", "0", fresh, "--fast"}, "unknown option \"--fast\""},
    }, 2);
    // clang-format on
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vornix-cli info [--recover] FILE.swd\n"));
    // 182 x 182 single pixels: more than an object may hold.
    ASSERT_TRUE(
        ExportImage(fixtures::MakeTexture(182, 182, 3), path("dots.png"), ExportFormat::Png));
    fixtures::WriteFileBytes(dir / "bad.png", {0x89, 'P', 'N', 'G', 0, 1, 2});
    // Random pixels, whose PNG cannot stay under the file size limit, as the second texture.
    TexturePage noise = fixtures::MakeTexture(256, 256, 0);
    std::mt19937 rng(99);
    std::generate_n(noise.GetBits(), noise.GetImageSize(),
                    [&] { return static_cast<std::uint8_t>(rng()); });
    fixtures::SwdBuilder noisy;
    noisy.Entry(0, 0, 0, 4, 4).Entry(0, 0, 0, 256, 256).Page(noise).Sequence(460, -1, 0);
    WriteSample(dir, "noise.swd", noisy.Sequence(463, -1, 1).Build());
    // Folders build must refuse: x has no objects.txt; b1 and b2 have bad ones; b3, b4 and b5
    // are extracted and then spoiled.
    fs::create_directories(dir / "x" / "463_DEFAULT_SPRITES");
    fixtures::WriteFileBytes(dir / "x" / "463_DEFAULT_SPRITES" / "2.png", {7});
    for (const auto& [folder, text] : {std::pair{"b1", "46"}, {"b2", "460 2 0\n463 1 1\n"}}) {
        fs::create_directory(dir / folder);
        fixtures::WriteFileBytes(dir / folder / "objects.txt", {text, text + std::strlen(text)});
    }
    for (const char* folder : {"b3", "b4", "b5"}) {
        ASSERT_EQ(RunCli({"extract", in, path(folder)}).exitCode, 0);
    }
    fs::remove(dir / "b3/463_DEFAULT_SPRITES/2.png");
    fs::copy_file(dir / "b4/463_DEFAULT_SPRITES/2.png", dir / "b4/463_DEFAULT_SPRITES/02.png");
    fs::remove(dir / "b5/460_SKY_GRAPHICS/0.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(300, 2, 1), path("b5/460_SKY_GRAPHICS/0.bmp"),
                            ExportFormat::Bmp));
    // clang-format off
    ExpectFailures(dir, {
        {{"info", none}, "Cannot open the file \"" + none + "\": No such file or directory\n"},
        {{"info", WriteSample(dir, "zero.swd", fixtures::SmallWad().StatedEntryCount(0).Build())}, "; the header says it holds no sprites, but 5 sprites follow, which --recover loads\n"},
        {{"repack", kept, kept}, swd::kWrongVersionMessage},
        {{"repack", in, kept}, "Cannot write the file \"" + kept + "\": File too large", 4096},
        {{"extract", in, path("x")}, "\"" + path("x/463_DEFAULT_SPRITES/2.png") + "\" already exists\n"},
        {{"extract", in, kept}, "Cannot write into \"" + kept + "\": it is not a folder\n"},
        {{"extract", path("noise.swd"), path("x/new/deeper")}, "463_DEFAULT_SPRITES/0.png", 16384},
        {{"build", path("x"), fresh}, path("x") + "/objects.txt\": No such file or directory."},
        {{"build", path("b1"), fresh}, path("b1") + "/objects.txt\": line 1 is not \"<slot> <count> <first>\" with a count of at most 32767"},
        {{"build", path("b2"), fresh}, path("b2") + "/objects.txt\": object 1 (slot 463) claims texture 1, as another object does"},
        {{"build", path("b3"), fresh}, path("b3") + "/463_DEFAULT_SPRITES\" holds 2 textures, fewer than"},
        {{"build", path("b4"), fresh}, "\" are both texture 2"},
        {{"build", path("b5"), fresh}, path("b5") + "/460_SKY_GRAPHICS/0.bmp\" is 300 x 2 pixels, larger than a texture can be (256 x 256)"},
        {{"export-object", in, "494", kept}, "Object 494: CUSTOM_SPRITES doesn't have any textures,\n add some first and try again...\n"},
        {{"export-object", in, "999", fresh}, "\"" + in + "\" has no object 999\n"},
        {{"import-object", in, in, fresh}, swo::kWrongMagicMessage},
        {{"split", in, "460", path("dots.png"), fresh, "--piece", "1x1"}, "Only 32765 pieces fit: an object holds at most 32767 textures and a sprite wad at most 65535\n"},
        {{"split", in, "460", none, fresh, "--piece", "8x8"}, none},
        {{"resize", in, "999", "0", "0", fresh, "--size", "8x8"}, "There is no object with slot 999 in \"" + in + "\"\n"},
        {{"resize", in, "463", "0", "3", fresh, "--size", "8x8"}, "Line 3 is not there: object 463 has lines 0 to 2\n"},
        {{"export-texture", in, "464", "0", opng}, "no object with slot 464"},
        {{"export-texture", in, "460", "2", opng}, "has 2 textures, so no line 2"},
        {{"export-texture", in, "460", "0", path("out.gif")}, "give --format"},
        {{"export-texture", in, "460", "0", opng, "--quality", "50"}, "--quality applies only to JPEG"},
        {{"add-texture", in, "460", fresh, png, path("bad.png")}, path("bad.png")},
        {{"add-texture", in, "slot", fresh, png}, "\"slot\" is not a slot number"},
    }, 1);
    // clang-format on
}

} // namespace
