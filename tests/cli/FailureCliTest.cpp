#include "CliRunner.h"

#include "images/TextureExport.h"
#include "objects/SwoFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

using clitest::RunCli;
using clitest::WriteSample;

namespace fs = std::filesystem;

namespace {

using Files = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

// Every file below the folder with its bytes, to see that a failed command wrote nothing.
Files Snapshot(const fs::path& root) {
    Files files;
    for (const std::string& name : fixtures::Tree(root)) {
        files.emplace_back(name, name.ends_with('/') ? std::vector<std::uint8_t>{}
                                                     : fixtures::ReadFileBytes(root / name));
    }
    return files;
}

struct Failure {
    std::vector<std::string> args;
    std::string message; // follows "vornix-cli: " on standard error
    rlim_t fileSizeLimit = 0;
};

// Runs each case, expecting the exit code, nothing on standard output, the message on
// standard error and the folder exactly as it was.
void ExpectFailures(const fixtures::TempDir& dir, const std::vector<Failure>& cases, int exitCode) {
    for (const Failure& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Files before = Snapshot(dir.path());
        const auto run = RunCli(c.args, c.fileSizeLimit);
        EXPECT_EQ(run.exitCode, exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(Snapshot(dir.path()) == before);
        if (exitCode == 2) {
            EXPECT_NE(run.err.find("\nUsage: vornix-cli info [--recover] FILE.swd\n"),
                      std::string::npos);
            EXPECT_NE(run.err.find("vornix-cli import-object IN.swd OBJ.swo OUT.swd\n"),
                      std::string::npos);
        }
    }
}

TEST(CliUsage, WrongArgumentsExitWithTwoAndTheUsage) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string png = (dir / "in.png").string(), out = (dir / "out.swd").string();
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(8, 8, 1), png, ExportFormat::Png));
    const std::vector<Failure> cases{
        {{}, "Usage: vornix-cli info [--recover] FILE.swd"},
        {{"frobnicate", in}, ""},
        {{"info"}, "info takes one file"},
        {{"repack", in}, ""},
        {{"build", "--recover", "a", out}, ""},
        {{"export-object", in, "x", out}, ""},
        {{"export-object", in, "4294967296", out}, ""},
        {{"import-object", in, png}, ""},
        {{"split", in, "460", png, out}, "split needs --piece WxH"},
        {{"split", in, "460", png, out, "--piece", "0x5"},
         "the piece size \"0x5\" is not WxH with sides 1 to 256"},
        {{"split", in, "460", png, out, "--piece"}, "--piece needs a value"},
        {{"split", in, "460", png, out, "--piece", "8x8", "--pad", "--pad"},
         "--pad is given twice"},
        {{"split", in, "46x", png, out, "--piece", "8x8"}, "the slot \"46x\" is not a number"},
        {{"split", in, "460", png, "--piece", "8x8"},
         "split takes an input file, a slot, an image and an output file"},
        {{"split", in, "460", png, out, "--piece", "8x8", "--fast"}, "unknown option --fast"},
        {{"resize", in, "463", "0", "2", out}, "resize needs --size WxH"},
        {{"resize", in, "463", "0", out, "--size", "8x8"},
         "resize takes an input file, a slot, the first and last line and an output file"},
        {{"resize", in, "463", "-1", "2", out, "--size", "8x8"},
         "the slot and the first and last line must be numbers"},
        {{"resize", in, "463", "0", "2", out, "--size", "8x8", "--filter", "cubic"},
         "the filter must be stretch or bilinear"},
        {{"export-texture", in, "460", "0", out, "--quality"}, "--quality needs a value"},
        {{"export-texture", in, "460", "0", out, "--fast"}, "unknown option \"--fast\""},
        {{"export-texture", in, "460", out}, "export-texture takes"},
        {{"add-texture", in, "460", out}, "at least one image"},
    };
    ExpectFailures(dir, cases, 2);
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("vornix-cli build DIR OUT.swd"), std::string::npos);
}

TEST(CliFailures, EveryCommandReportsTheProblemAndWritesNothing) {
    fixtures::TempDir dir;
    const auto path = [&](const char* name) { return (dir / name).string(); };
    const std::string in = WriteSample(dir, "in.swd", fixtures::SmallWad().Build());
    const std::string damaged =
        WriteSample(dir, "damaged.swd", fixtures::SmallWad().StatedSequenceCount(9).Build());
    const std::string zero = WriteSample(dir, "zero.swd", clitest::ZeroCountedSmallWad());
    const std::string kept = WriteSample(dir, "kept", {7, 7});
    const std::string png = path("in.png"), fresh = path("fresh"), none = path("none"),
                      opng = path("out.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(8, 8, 1), png, ExportFormat::Png));
    // 182 x 182 single pixels: more than an object may hold.
    ASSERT_TRUE(
        ExportImage(fixtures::MakeTexture(182, 182, 3), path("dots.png"), ExportFormat::Png));
    fixtures::WriteFileBytes(dir / "bad.png", {0x89, 'P', 'N', 'G', 0, 1, 2});
    ASSERT_EQ(RunCli({"export-object", in, "460", path("good.swo")}).exitCode, 0);
    auto swo = fixtures::ReadFileBytes(dir / "good.swo");
    swo.back() ^= 0xFF; // the last stream's checksum
    fixtures::WriteFileBytes(dir / "damaged.swo", swo);
    // Small textures first, then one of random pixels whose PNG cannot stay under the file
    // size limit.
    TexturePage noisePage;
    noisePage.Create(256, 256);
    std::mt19937 rng(99);
    std::generate_n(noisePage.GetBits(), noisePage.GetImageSize(),
                    [&] { return static_cast<std::uint8_t>(rng()); });
    const std::string noise = WriteSample(dir, "noise.swd",
                                          fixtures::SwdBuilder()
                                              .Entry(0, 0, 0, 4, 4)
                                              .Entry(4, 0, 0, 4, 4)
                                              .Entry(0, 0, 1, 256, 256)
                                              .Page(fixtures::MakeTexture(256, 256, 41))
                                              .Page(noisePage)
                                              .Sequence(460, -2, 0)
                                              .Sequence(463, -1, 2)
                                              .Build());
    fs::create_directories(dir / "x" / "463_DEFAULT_SPRITES");
    fixtures::WriteFileBytes(dir / "x" / "463_DEFAULT_SPRITES" / "2.png", {7});
    fs::create_directory(dir / "y");
    fixtures::WriteFileBytes(dir / "y" / "objects.txt", {});
    // Folders of extracted textures, each spoiled in one way that build must refuse.
    for (const char* folder : {"b0", "b1", "b2", "b3", "b4", "b5", "b6"}) {
        ASSERT_EQ(RunCli({"extract", in, path(folder)}).exitCode, 0);
    }
    const auto write = [](const fs::path& file, const std::string& text) {
        fixtures::WriteFileBytes(file, {text.begin(), text.end()});
    };
    fs::remove(dir / "b0/objects.txt");
    write(dir / "b1/objects.txt", "46");
    write(dir / "b2/objects.txt", "460 2 0\n463 1 1\n");
    fs::remove(dir / "b3/463_DEFAULT_SPRITES/2.png");
    fs::copy_file(dir / "b4/463_DEFAULT_SPRITES/2.png", dir / "b4/463_DEFAULT_SPRITES/3.png");
    fs::copy_file(dir / "b5/463_DEFAULT_SPRITES/2.png", dir / "b5/463_DEFAULT_SPRITES/02.png");
    fs::remove(dir / "b6/460_SKY_GRAPHICS/0.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(300, 2, 1), path("b6/460_SKY_GRAPHICS/0.bmp"),
                            ExportFormat::Bmp));
    const std::string damagedMessage = "This sprite wad is damaged: ";
    const std::string zeroMessage = "; the header says it holds no sprites, but 5 sprites follow, "
                                    "which --recover loads\n";
    ExpectFailures(
        dir,
        {
            {{"info", none}, "Cannot open the file \"" + none + "\": No such file or directory\n"},
            {{"info", WriteSample(dir, "v130.swd", fixtures::SwdBuilder().Version(130).Build())},
             swd::kWrongVersionMessage + std::string("\n")},
            {{"info", zero}, zeroMessage},
            {{"extract", zero, fresh}, zeroMessage},
            {{"repack", zero, fresh}, zeroMessage},
            {{"repack", damaged, kept}, damagedMessage},
            {{"repack", in, path("no/out.swd")},
             "Cannot write the file \"" + path("no/out.swd") + "\": No such file or directory\n"},
            {{"repack", in, kept}, "File too large", 4096},
            {{"extract", in, path("x")},
             "\"" + path("x/463_DEFAULT_SPRITES/2.png") + "\" already exists\n"},
            {{"extract", in, path("y")}, "\"" + path("y/objects.txt") + "\" already exists\n"},
            {{"extract", in, kept}, "Cannot write into \"" + kept + "\": it is not a folder\n"},
            {{"extract", damaged, path("new/deeper")}, damagedMessage},
            {{"extract", noise, path("x/new/deeper")}, "463_DEFAULT_SPRITES/0.png", 16384},
            {{"build", path("b0"), fresh},
             path("b0") + "/objects.txt\": No such file or directory."},
            {{"build", path("b1"), fresh},
             path("b1") + "/objects.txt\": line 1 is not \"<slot> <count> <first>\" with a count "
                          "of at most 32767"},
            {{"build", path("b2"), fresh},
             path("b2") + "/objects.txt\": object 1 (slot 463) claims texture 1, as another object "
                          "does"},
            {{"build", path("b3"), fresh},
             path("b3") + "/463_DEFAULT_SPRITES\" holds 2 textures, fewer than"},
            {{"build", path("b4"), fresh},
             path("b4") + "/463_DEFAULT_SPRITES\" holds 4 textures, more than"},
            {{"build", path("b5"), fresh}, "\" are both texture 2"},
            {{"build", path("b6"), fresh},
             path("b6") + "/460_SKY_GRAPHICS/0.bmp\" is 300 x 2 pixels, larger than a texture can "
                          "be (256 x 256)"},
            {{"export-object", in, "494", kept},
             "Object 494: CUSTOM_SPRITES doesn't have any textures,\n add some first and try "
             "again...\n"},
            {{"export-object", in, "999", fresh}, "\"" + in + "\" has no object 999\n"},
            {{"import-object", in, path("damaged.swo"), kept},
             "This object file is damaged: texture record 2 of 2: the input data was corrupted.\n"},
            {{"import-object", in, in, fresh}, swo::kWrongMagicMessage},
            {{"import-object", in, none, fresh},
             "Cannot open \"" + none + "\": No such file or directory.\n"},
            {{"split", in, "460", path("dots.png"), fresh, "--piece", "1x1"},
             "Only 32765 pieces fit: an object holds at most 32767 textures and a sprite wad at "
             "most 65535\n"},
            {{"split", in, "460", none, fresh, "--piece", "8x8"}, none},
            {{"resize", in, "999", "0", "0", fresh, "--size", "8x8"},
             "There is no object with slot 999 in \"" + in + "\"\n"},
            {{"resize", in, "463", "0", "3", fresh, "--size", "8x8"},
             "Line 3 is not there: object 463 has lines 0 to 2\n"},
            {{"resize", in, "494", "0", "0", fresh, "--size", "8x8"}, "Object 494 has no textures"},
            {{"export-texture", in, "464", "0", opng}, "no object with slot 464"},
            {{"export-texture", in, "460", "2", opng}, "has 2 textures, so no line 2"},
            {{"export-texture", in, "460", "-1", opng}, "\"-1\" is not a texture line number"},
            {{"export-texture", in, "460", "0", path("out.gif")}, "give --format"},
            {{"export-texture", in, "460", "0", opng, "--format", "gif"}, "Unknown format \"gif\""},
            {{"export-texture", in, "460", "0", opng, "--quality", "50"},
             "--quality applies only to JPEG"},
            {{"export-texture", in, "460", "0", opng, "--format", "jpeg", "--quality", "101"},
             "0 to 100"},
            {{"export-texture", in, "460", "0", opng, "--rle"}, "--rle applies only to TGA"},
            {{"export-texture", none, "460", "0", opng}, none},
            {{"add-texture", in, "460", fresh, png, path("bad.png")}, path("bad.png")},
            {{"add-texture", in, "460", fresh, none}, none},
            {{"add-texture", in, "slot", fresh, png}, "\"slot\" is not a slot number"},
        },
        1);
}

} // namespace
