// vornix-cli run as a program: what each command writes and prints, and how it fails.
#include "VornixVersion.h"
#include "formats/SwdFile.h"
#include "formats/SwoFile.h"
#include "images/BTCImageObject.h"
#include "images/ImageFitting.h"
#include "images/ResizeMath.h"
#include "images/TextureExport.h"
#include "packing/SaveWad.h"
#include "support/Fixtures.h"
#include "support/SplitExpectations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace fs = std::filesystem;
using fixtures::MakeTexture;

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the vornix-cli binary named by VORNIX_CLI with the given arguments and collects its
// exit status and both output streams. A non-zero fileSizeLimit caps the size of any file it
// writes (writes past it fail, as on a full disk).
CliRun RunCli(const std::vector<std::string>& args, std::size_t fileSizeLimit = 0) {
    const char* binary = std::getenv("VORNIX_CLI");
    if (binary == nullptr) {
        throw std::runtime_error("VORNIX_CLI is not set");
    }
    const fixtures::TempDir capture;
    // An ignored SIGXFSZ stays ignored in the program, so a write past the limit fails. No
    // argument or path the tests give holds a single quote.
    std::string command = fileSizeLimit == 0 ? "exec '"
                                             : "trap '' XFSZ; ulimit -f " +
                                                   std::to_string(fileSizeLimit / 512) + "; exec '";
    command += binary;
    for (const std::string& arg : args) {
        command += "' '" + arg;
    }
    command += "' >'" + (capture / "out").string() + "' 2>'" + (capture / "err").string() + "'";
    const int status = std::system(command.c_str());
    const auto out = fixtures::ReadFileBytes(capture / "out");
    const auto err = fixtures::ReadFileBytes(capture / "err");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            {out.begin(), out.end()},
            {err.begin(), err.end()}};
}

std::string WriteSample(const fixtures::TempDir& dir, const std::string& name,
                        const std::vector<std::uint8_t>& bytes) {
    fixtures::WriteFileBytes(dir / name, bytes);
    return (dir / name).string();
}

SpriteWad Read(const std::string& path) {
    SpriteWad wad;
    EXPECT_TRUE(swd::ReadSwdFile(path, wad).ok()) << path;
    return wad;
}

// SmallWad without its empty object, which no command may write: 463 owns 56x56, 1x1, 256x3
// (textures 2..4); 460 owns 64x64, 32x16 (0..1).
fixtures::SwdBuilder SavableWad() {
    return fixtures::SmallWad().StatedSequenceCount(2);
}

struct CliRoundTrip : testing::Test {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", SavableWad().Build());
    const std::string zero = WriteSample(dir, "zero.swd", SavableWad().StatedEntryCount(0).Build());
    const SpriteWad original = Read(in);
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Ok(std::vector<std::string> args) const {
        const auto run = RunCli(args);
        EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(0, std::string()));
        return run.out;
    }
};

TEST_F(CliRoundTrip, InfoListsTheCountsObjectsAndTextures) {
    const std::string small = WriteSample(dir, "small.swd", fixtures::SmallWad().Build());
    EXPECT_EQ(Ok({"info", small}), "version 129, entries 5, pages 2, objects 3\n"
                                   "463: DEFAULT_SPRITES  Textures=3\n  Texture 0 :  (56 x 56)\n"
                                   "  Texture 1 :  (1 x 1)\n  Texture 2 :  (256 x 3)\n"
                                   "460: SKY_GRAPHICS  Textures=2\n  Texture 0 :  (64 x 64)\n"
                                   "  Texture 1 :  (32 x 16)\n494: CUSTOM_SPRITES  Textures=0\n");
    EXPECT_TRUE(Ok({"info", "--recover", zero})
                    .starts_with("version 129, entries 5 (recovered), pages 2, objects 2\n"));
}

// extract writes one PNG per texture in slot folders, and building them, one edited into another
// format, gives byte for byte what repack gives.
TEST_F(CliRoundTrip, ExtractThenBuildEqualsRepack) {
    const std::string x = Path("sprites/deeper");
    Ok({"extract", in, x});
    EXPECT_EQ(fixtures::Tree(x),
              (std::vector<std::string>{"460_SKY_GRAPHICS/", "460_SKY_GRAPHICS/0.png",
                                        "460_SKY_GRAPHICS/1.png", "463_DEFAULT_SPRITES/",
                                        "463_DEFAULT_SPRITES/0.png", "463_DEFAULT_SPRITES/1.png",
                                        "463_DEFAULT_SPRITES/2.png", "objects.txt"}));
    const auto manifest = fixtures::ReadFileBytes(x + "/objects.txt");
    EXPECT_EQ(std::string(manifest.begin(), manifest.end()), "463 3 2\n460 2 0\n");
    BTCImageObject image;
    ASSERT_TRUE(image.Load(x + "/463_DEFAULT_SPRITES/1.png"));
    ASSERT_TRUE(image.Save(x + "/463_DEFAULT_SPRITES/1.BMP", ImageFormat::Bmp));
    fs::remove(x + "/463_DEFAULT_SPRITES/1.png");
    // A stray file whose name is no texture number build can use is left alone.
    fixtures::WriteFileBytes(x + "/463_DEFAULT_SPRITES/98765432109876543210123.png", {7});
    // Reading only the first object, 463, leaves sprites 0 and 1 to no object.
    const std::vector<std::string> sources{
        in, zero, WriteSample(dir, "none.swd", fixtures::SwdBuilder().Build()),
        WriteSample(dir, "loose.swd", fixtures::SmallWad().StatedSequenceCount(1).Build()),
        WriteSample(dir, "top.swd",
                    fixtures::SwdBuilder()
                        .Entry(0, 0, 0, 1, 1)
                        .Page(fixtures::MakeTexture(256, 256, 5))
                        .Sequence(4294967295u, -1, 0) // the largest slot objects.txt can give
                        .Build())};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        SCOPED_TRACE(sources[i]);
        const std::string n = i == 0 ? x : Path(std::to_string(i));
        if (i != 0) { // --recover changes nothing for a file whose count is sound
            Ok({"extract", "--recover", sources[i], n});
        }
        Ok({"build", n, n + ".built"});
        Ok({"repack", "--recover", sources[i], n + ".repacked"});
        EXPECT_TRUE(fixtures::ReadFileBytes(n + ".built") ==
                    fixtures::ReadFileBytes(n + ".repacked"));
    }
    const SpriteWad repacked = Read(x + ".repacked");
    EXPECT_EQ(repacked.m_sequences, original.m_sequences);
    EXPECT_TRUE(repacked.m_textures == original.m_textures);
}

TEST_F(CliRoundTrip, SplitAndAddTextureAppendAndResizeAndMoveChangeLines) {
    const BTCImageData image = MakeTexture(300, 200, 11);
    ASSERT_TRUE(ExportImage(image, Path("image.png"), ImageFormat::Png));
    EXPECT_TRUE(
        Ok({"split", in, "460", Path("image.png"), Path("out.swd"), "--piece", "128x128", "--pad"})
            .ends_with("Added 6 pieces to 460: SKY_GRAPHICS, which now holds 8 textures\n"));
    const SpriteWad after = Read(Path("out.swd"));
    EXPECT_TRUE(fixtures::PiecesMatchSplit(
        image, 128, 128, true, {after.m_textures.begin() + 2, after.m_textures.begin() + 8}));

    EXPECT_TRUE(Ok({"resize", in, "463", "1", "2", Path("big.swd"), "--size", "112x112",
                    "--keep-aspect", "--filter", "bilinear"})
                    .ends_with("Resized 2 textures of object 463\n"));
    BTCImageData wide = original.ObjectTexture(0, 2); // 256 x 3, kept to 112 x 1
    ASSERT_TRUE(ResizeTexture(wide, 112, 1, ResizeFilter::Bilinear));
    EXPECT_TRUE(Read(Path("big.swd")).ObjectTexture(0, 2) == wide);

    EXPECT_EQ(Ok({"move-texture", in, "463", "0", "0", "2", Path("moved.swd")}),
              "Packed 5 textures onto 1 page\nMoved lines 0 to 0 of object 463 to line 2\n");
    EXPECT_TRUE(Read(Path("moved.swd")).ObjectTexture(0, 2) == original.ObjectTexture(0, 0));

    // Without --filter, stretch.
    Ok({"resize", in, "463", "0", "0", Path("stretched.swd"), "--size", "100x90"});
    BTCImageData stretched = original.ObjectTexture(0, 0);
    ASSERT_TRUE(ResizeTexture(stretched, 100, 90, ResizeFilter::Stretch));
    EXPECT_TRUE(Read(Path("stretched.swd")).ObjectTexture(0, 0) == stretched);

    // Images land in the order given (i10 after i9); one larger than a page is fitted.
    std::vector<std::string> args{"add-texture", in, "470", Path("out.swd")};
    std::vector<BTCImageData> images;
    for (int i = 0; i < 13; ++i) {
        images.push_back(i < 12 ? MakeTexture(1 + i, 12 - i, static_cast<std::uint32_t>(i))
                                : MakeTexture(300, 280, 12));
        args.push_back(Path("i" + std::to_string(i) + ".png"));
        ASSERT_TRUE(ExportImage(images.back(), args.back(), ImageFormat::Png));
    }
    ASSERT_TRUE(FitTexture(images.back()));
    EXPECT_NE(Ok(args).find("new object 470 (FONT_GRAPHICS)"), std::string::npos);
    const SpriteWad wad = Read(Path("out.swd"));
    ASSERT_EQ(wad.m_sequences.back(), (ObjectSequence{470, -13, 5}));
    for (int i = 0; i < 13; ++i) {
        EXPECT_TRUE(wad.ObjectTexture(2, i) == images[static_cast<std::size_t>(i)]) << i;
    }
}

// The texture format comes from --format, else the extension; bytes as the window writes.
TEST_F(CliRoundTrip, ExportsWriteWhatTheWindowWritesAndImportBack) {
    const struct {
        std::vector<std::string> extra;
        const char* name;
        ImageFormat format;
        ExportOptions options;
    } cases[] = {
        {{}, "a.PCX", ImageFormat::Pcx, {}},
        {{}, "a.tif", ImageFormat::Tiff, {}},
        {{"--format", "png"}, "a.bmp", ImageFormat::Png, {}},
        {{"--rle"}, "a.tga", ImageFormat::Tga, {100, true}},
        {{"--quality", "40"}, "a.jfif", ImageFormat::Jpeg, {40, false}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"export-texture", in, "463", "2", Path(c.name)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        Ok(args);
        ASSERT_TRUE(
            ExportImage(original.ObjectTexture(0, 2), Path("expected"), c.format, c.options));
        EXPECT_EQ(fixtures::ReadFileBytes(Path(c.name)), fixtures::ReadFileBytes(Path("expected")))
            << c.name;
    }
    // An exported object imports back.
    const std::string swoPath = Path("463.swo");
    EXPECT_EQ(Ok({"export-object", in, "463", swoPath}),
              "Exported 463: DEFAULT_SPRITES  Textures=3 to " + swoPath + "\n");
    EXPECT_EQ(Ok({"import-object", in, swoPath, Path("merged.swd")}),
              "Packed 8 textures onto 1 page\nImported 3 textures into existing object 463: "
              "DEFAULT_SPRITES  Textures=6\n");
    // A wad without the object gets it new.
    Ok({"export-object", in, "460", Path("460.swo")});
    const std::string only463 =
        WriteSample(dir, "only463.swd", fixtures::SmallWad().StatedSequenceCount(1).Build());
    EXPECT_EQ(Ok({"import-object", only463, Path("460.swo"), Path("grown.swd")}),
              "Packed 7 textures onto 1 page\nImported 2 textures into new object 460: "
              "SKY_GRAPHICS  Textures=2\n");
}

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
    const std::string in = WriteSample(dir, "in.swd", SavableWad().Build());
    // 494 is empty: every command that writes a wad refuses it, as the window's save does.
    const std::string hasEmpty = WriteSample(dir, "empty.swd", fixtures::SmallWad().Build());
    const std::string kept = WriteSample(dir, "kept", {7, 7}), png = path("in.png"),
                      fresh = path("fresh"), none = path("none"), opng = path("out.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(8, 8, 1), png, ImageFormat::Png));
    // clang-format off
    ExpectFailures(dir, {
        {{}, "no command given"},
        {{"frobnicate", in}, "unknown command \"frobnicate\""},
        {{"info"}, "info takes one file"},
        {{"repack", in}, "repack takes an input and an output file"},
        {{"extract", in}, "extract takes an input file and a folder"},
        {{"build", in}, "build takes a folder and an output file"},
        {{"export-texture", in, "460", "0"}, "export-texture takes a file, a slot, a line and an output file"},
        {{"add-texture", in, "460", fresh}, "add-texture takes a file, a slot, an output file and at least one image"},
        {{"split", in, "460", "i", "--piece", "8x8"}, "split takes an input file, a slot, an image and an output file"},
        {{"resize", in, "463", "0", "1", "--size", "8x8"}, "resize takes an input file, a slot, the first and last line and an output file"},
        {{"move-texture", in, "463", "0", "1", "0"}, "move-texture takes an input file, a slot, the first and last line, the line to move them to and an output file"},
        {{"export-object", in, "460"}, "export-object takes an input file, a slot number and an output file"},
        {{"import-object", in, "o.swo"}, "import-object takes an input file, an object file and an output file"},
        {{"build", "--recover", "a", fresh}, "build does not take --recover"},
        {{"export-object", in, "4294967296", fresh}, "\"4294967296\" is not a slot number"},
        {{"split", in, "460", "i", fresh, "--piece", "0x5"}, "the piece size \"0x5\" is not WxH with sides 1 to 256"},
        {{"split", in, "460", "i", fresh, "--piece", "4294967297x5"}, "is not WxH"},
        {{"split", in, "460", "i", fresh, "--piece", "5x0"}, "is not WxH"},
        {{"split", in, "460", "i", fresh, "--piece"}, "--piece needs a value"},
        {{"split", in, "s", "i", fresh, "--piece", "8x8"}, "\"s\" is not a slot number"},
        {{"split", in, "460", "i", fresh, "--piece", "8x8", "--pad", "--pad"}, "--pad is given twice"},
        {{"split", in, "460", "i", fresh, "--piece", "8x8", "--fast"}, "unknown option --fast"},
        {{"resize", in, "463", "-1", "2", fresh, "--size", "8x8"}, "the slot and the first and last line must be numbers"},
        {{"resize", in, "463", "0", "2", fresh, "--size", "8x8", "--filter", "cubic"}, "the filter must be stretch or bilinear"},
        {{"resize", in, "463", "2", "1", fresh, "--size", "8x8"}, "the first line must not come after the last"},
        {{"move-texture", in, "463", "0", "x", "1", fresh}, "the slot and the three lines must be numbers"},
        {{"move-texture", in, "463", "2", "1", "0", fresh}, "the first line must not come after the last"},
        {{"export-texture", in, "460", "0", fresh, "--quality"}, "--quality needs a value"},
        {{"export-texture", in, "460", "0", fresh, "--fast"}, "unknown option --fast"},
        {{"export-texture", in, "460", "x", fresh}, "\"x\" is not a texture line number"},
        {{"export-texture", in, "460", "0", path("out.gif")}, "give --format"},
        {{"export-texture", in, "460", "0", opng, "--quality", "50"}, "--quality applies only to JPEG"},
        {{"export-texture", in, "460", "0", path("q.jpg"), "--quality", "101"}, "The quality must be a whole number from 0 to 100, not \"101\""},
        {{"export-texture", in, "460", "0", opng, "--rle"}, "--rle applies only to TGA"},
        {{"export-texture", in, "460", "0", opng, "--format", "gif"}, "Unknown format \"gif\": use "},
        {{"add-texture", in, "slot", fresh, "in.png"}, "\"slot\" is not a slot number"},
    }, 2);
    // clang-format on
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vornix-cli info [--recover] FILE.swd\n"));
    // Below the synopsis, the descriptions wrap within 86 columns.
    const std::string described = help.out.substr(help.out.find("\nCommands:\n"));
    for (std::size_t at = 0, end = 0; at < described.size(); at = end + 1) {
        end = described.find('\n', at);
        EXPECT_LE(end - at, 86u) << described.substr(at, end - at);
    }
    EXPECT_EQ(RunCli({"--version"}).out, std::string("vornix-cli ") + kVornixVersion + "\n");
    // 182 x 182 single pixels: more than an object may hold.
    ASSERT_TRUE(
        ExportImage(fixtures::MakeTexture(182, 182, 3), path("dots.png"), ImageFormat::Png));
    fixtures::WriteFileBytes(dir / "bad.png", {0x89, 'P', 'N', 'G', 0, 1, 2});
    // Random pixels, whose PNG cannot stay under the file size limit, as the second texture.
    TexturePage noise = fixtures::MakeTexture(256, 256, 0);
    std::mt19937 rng(99);
    std::generate_n(noise.GetBits(), noise.GetImageSize(),
                    [&] { return static_cast<std::uint8_t>(rng()); });
    fixtures::SwdBuilder noisy;
    noisy.Entry(0, 0, 0, 4, 4).Entry(0, 0, 0, 256, 256).Page(noise).Sequence(460, -1, 0);
    WriteSample(dir, "noise.swd", noisy.Sequence(463, -1, 1).Build());
    // Folders build must refuse: x has no objects.txt; b1, b2 and b6 have bad ones; b3, b4, b5
    // and b7 are extracted and then spoiled; b8 holds an empty object.
    fs::create_directories(dir / "x" / "463_DEFAULT_SPRITES");
    fixtures::WriteFileBytes(dir / "x" / "463_DEFAULT_SPRITES" / "2.png", {7});
    for (const auto& [folder, text] :
         {std::pair{"b1", "46"}, {"b2", "460 2 0\n463 1 1\n"}, {"b6", "460 1 3\n"}}) {
        fs::create_directory(dir / folder);
        fixtures::WriteFileBytes(dir / folder / "objects.txt", {text, text + std::strlen(text)});
    }
    for (const char* folder : {"b3", "b4", "b5", "b7"}) {
        ASSERT_EQ(RunCli({"extract", in, path(folder)}).exitCode, 0);
    }
    ASSERT_EQ(RunCli({"extract", hasEmpty, path("b8")}).exitCode, 0);
    ASSERT_EQ(RunCli({"export-object", in, "463", path("463.swo")}).exitCode, 0);
    fs::copy_file(dir / "b7/463_DEFAULT_SPRITES/2.png", dir / "b7/463_DEFAULT_SPRITES/3.png");
    fs::remove(dir / "b3/463_DEFAULT_SPRITES/2.png");
    fs::copy_file(dir / "b4/463_DEFAULT_SPRITES/2.png", dir / "b4/463_DEFAULT_SPRITES/02.png");
    fs::remove(dir / "b5/460_SKY_GRAPHICS/0.png");
    ASSERT_TRUE(ExportImage(fixtures::MakeTexture(300, 2, 1), path("b5/460_SKY_GRAPHICS/0.bmp"),
                            ImageFormat::Bmp));
    const std::string emptyObject = EmptyObjectMessage(494);
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
        {{"build", path("b6"), fresh}, "object 0 (slot 460) starts at texture 3, past the 1 textures of the folder"},
        {{"build", path("b3"), fresh}, path("b3") + "/463_DEFAULT_SPRITES\" holds 2 textures, fewer than"},
        {{"build", path("b4"), fresh}, "\" are both texture 2"},
        {{"build", path("b5"), fresh}, path("b5") + "/460_SKY_GRAPHICS/0.bmp\" is 300 x 2 pixels, larger than a texture can be (256 x 256)"},
        {{"build", path("b7"), fresh}, path("b7") + "/463_DEFAULT_SPRITES\" holds 4 textures, more than"},
        {{"repack", hasEmpty, fresh}, emptyObject},
        {{"build", path("b8"), fresh}, emptyObject},
        {{"split", hasEmpty, "460", png, fresh, "--piece", "8x8"}, emptyObject},
        {{"resize", hasEmpty, "463", "0", "0", fresh, "--size", "8x8"}, emptyObject},
        {{"add-texture", hasEmpty, "460", fresh, png}, emptyObject},
        {{"import-object", hasEmpty, path("463.swo"), fresh}, emptyObject},
        {{"export-object", hasEmpty, "494", kept}, "Object 494: CUSTOM_SPRITES doesn't have any textures,\n add some first and try again...\n"},
        {{"export-object", in, "999", fresh}, "There is no object with slot 999 in \"" + in + "\"\n"},
        {{"import-object", in, in, fresh}, swo::kWrongMagicMessage},
        {{"split", in, "460", path("dots.png"), fresh, "--piece", "1x1"}, "Object 460: SKY_GRAPHICS cannot take 33124 more textures: it holds 2, and an object holds at most 32767.\n"},
        {{"split", in, "460", none, fresh, "--piece", "8x8"}, none},
        {{"resize", in, "3000000000", "0", "0", fresh, "--size", "8x8"}, "There is no object with slot 3000000000 in \"" + in + "\"\n"},
        {{"resize", in, "463", "0", "3", fresh, "--size", "8x8"}, "Lines 0 to 3 are not all in the object, which has lines 0 to 2.\n"},
        {{"move-texture", in, "464", "0", "0", "1", fresh}, "There is no object with slot 464 in \"" + in + "\"\n"},
        {{"move-texture", in, "463", "0", "1", "2", fresh}, "Lines 0 to 1 can start only at lines 0 to 1 of the object, not at line 2.\n"},
        {{"export-texture", in, "4294967295", "0", opng}, "no object with slot 4294967295"},
        {{"export-texture", in, "460", "2", opng}, "has 2 textures, so no line 2"},
        {{"add-texture", in, "460", fresh, png, path("bad.png")}, path("bad.png")},
    }, 1);
    // clang-format on
    const auto zeroMove = RunCli({"move-texture", path("zero.swd"), "463", "0", "0", "1", fresh});
    EXPECT_EQ(std::pair(zeroMove.exitCode, zeroMove.err.find("--recover")),
              std::pair(1, std::string::npos))
        << "an option the command does not take: " << zeroMove.err;
    EXPECT_TRUE(zeroMove.err.starts_with("vornix-cli: This sprite wad is damaged: "));
}

} // namespace
