#include "CliRunner.h"

#include "images/BTCImageObject.h"

#include <gtest/gtest.h>

#include <filesystem>

using clitest::RunCli;
using clitest::WriteSample;
using fixtures::MakeTexture;
using fixtures::SwdBuilder;

namespace fs = std::filesystem;

namespace {

// Twelve sprites, so that texture 10 sorts after 9 only by number; repeated slots with and
// without textures, and an empty object inside a run.
SwdBuilder RepeatedSlots() {
    SwdBuilder b;
    for (int i = 0; i < 12; ++i) {
        b.Entry(static_cast<std::uint8_t>(i * 20), 0, 0, 3 + i, 20 - i);
    }
    return b.Page(MakeTexture(256, 256, 50))
        .Sequence(494, -2, 10)
        .Sequence(463, -7, 3)
        .Sequence(494, -3, 0)
        .Sequence(463, 0, 12)
        .Sequence(470, 0, 5);
}

std::vector<std::uint8_t> ZeroCounted(SwdBuilder b) {
    auto bytes = b.Build();
    std::fill(bytes.begin() + 4, bytes.begin() + 8, 0);
    return bytes;
}

struct Source {
    std::string name;
    fs::path path;
    bool recover;
};

// extract then build gives, byte for byte, what repack gives for the original.
TEST(CliBuild, ExtractThenBuildEqualsRepack) {
    fixtures::TempDir dir;
    std::vector<Source> sources{
        {"small", WriteSample(dir, "small.swd", fixtures::SmallWad().Build()), false},
        {"repeated slots", WriteSample(dir, "repeated.swd", RepeatedSlots().Build()), false},
        {"no objects", WriteSample(dir, "none.swd", SwdBuilder().Build()), false},
    };
    if (const auto real = fixtures::RealSwdDir(); !real.empty()) {
        for (const auto& item : fs::directory_iterator(real)) {
            if (item.path().extension() == ".swd") {
                sources.push_back(
                    {item.path().filename().string(), item.path(),
                     item.path().filename().string().find("zero") != std::string::npos});
            }
        }
    }
    for (const Source& s : sources) {
        SCOPED_TRACE(s.name);
        const std::string folder = (dir / (s.name + ".d")).string();
        const std::string built = (dir / (s.name + ".built")).string();
        const std::string repacked = (dir / (s.name + ".repacked")).string();
        std::vector<std::string> extract{"extract", s.path.string(), folder};
        std::vector<std::string> repack{"repack", s.path.string(), repacked};
        if (s.recover) {
            extract.push_back("--recover");
            repack.push_back("--recover");
        }
        auto run = RunCli(extract);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        run = RunCli({"build", folder, built});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(RunCli(repack).exitCode, 0);
        EXPECT_TRUE(fixtures::ReadFileBytes(built) == fixtures::ReadFileBytes(repacked));
    }
}

// Textures edited in any image editor come back in any of the six formats.
TEST(CliBuild, TexturesInEveryImageFormatAreAccepted) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", RepeatedSlots().Build());
    const fs::path folder = dir / "x";
    ASSERT_EQ(RunCli({"extract", in, folder.string()}).exitCode, 0);
    const std::vector<std::pair<int, const char*>> formats{
        {BTCImageObject::CodecBMP, "0.bmp"},   {BTCImageObject::CodecPCX, "1.PCX"},
        {BTCImageObject::CodecTGA, "2.tga"},   {BTCImageObject::CodecTIFF, "3.tif"},
        {BTCImageObject::CodecTIFF, "4.tiff"}, {BTCImageObject::CodecJPEG, "5.jpg"},
        {BTCImageObject::CodecJPEG, "6.jpeg"}};
    const fs::path slot = folder / "463_DEFAULT_SPRITES";
    for (const auto& [codec, name] : formats) {
        const fs::path png = slot / (fs::path(name).stem().string() + ".png");
        BTCImageObject image;
        ASSERT_TRUE(image.Load(png.string()));
        ASSERT_TRUE(image.Save((slot / name).string(), codec));
        fs::remove(png);
    }
    const std::string out = (dir / "out.swd").string();
    const auto run = RunCli({"build", folder.string(), out});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    SpriteWad original;
    SpriteWad rebuilt;
    ASSERT_TRUE(swd::ReadSwdFile(in, original).ok());
    ASSERT_TRUE(swd::ReadSwdFile(out, rebuilt).ok());
    EXPECT_EQ(rebuilt.m_sequences, original.m_sequences);
    for (int line = 0; line < 7; ++line) {
        const SpriteTexture& a = original.ObjectTexture(1, line);
        const SpriteTexture& b = rebuilt.ObjectTexture(1, line);
        EXPECT_EQ(b.GetWidth(), a.GetWidth());
        EXPECT_EQ(b.GetHeight(), a.GetHeight());
        if (line < 5) { // lossless formats
            EXPECT_TRUE(a == b) << line;
        }
    }
}

TEST(CliBuild, FaultyFoldersAreRefusedAndNothingIsWritten) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "in.swd", RepeatedSlots().Build());
    const std::string out = (dir / "out.swd").string();
    struct Fault {
        const char* name;
        void (*spoil)(const fs::path& folder);
        std::string message; // the end of a path in the folder and what is wrong
    };
    const std::vector<Fault> faults{
        {"no list of objects", [](const fs::path& f) { fs::remove(f / "objects.txt"); },
         "/objects.txt\": No such file or directory."},
        {"a line that is no object",
         [](const fs::path& f) {
             fixtures::WriteFileBytes(f / "objects.txt", {'4', '6', '3'});
         },
         "/objects.txt\": line 1 is not \"<slot> <count> <first>\" with a count of at most 32767"},
        {"two objects on one texture",
         [](const fs::path& f) {
             const std::string text = "494 2 0\n463 1 1\n";
             fixtures::WriteFileBytes(f / "objects.txt", {text.begin(), text.end()});
         },
         "/objects.txt\": object 1 (slot 463) claims texture 1, as another object does"},
        {"a texture missing",
         [](const fs::path& f) { fs::remove(f / "463_DEFAULT_SPRITES/6.png"); },
         "/463_DEFAULT_SPRITES\" holds 6 textures, fewer than"},
        {"a texture too many",
         [](const fs::path& f) {
             fs::copy_file(f / "463_DEFAULT_SPRITES/6.png", f / "463_DEFAULT_SPRITES/7.png");
         },
         "/463_DEFAULT_SPRITES\" holds 8 textures, more than"},
        {"one number twice",
         [](const fs::path& f) {
             fs::copy_file(f / "463_DEFAULT_SPRITES/6.png", f / "463_DEFAULT_SPRITES/06.png");
         },
         "\" are both texture 6"},
        {"a texture larger than a page",
         [](const fs::path& f) {
             BTCImageObject big;
             big.Attach(MakeTexture(300, 2, 1));
             fs::remove(f / "494_CUSTOM_SPRITES/0.png");
             ASSERT_TRUE(
                 big.Save((f / "494_CUSTOM_SPRITES/0.bmp").string(), BTCImageObject::CodecBMP));
         },
         "/494_CUSTOM_SPRITES/0.bmp\" is 300 x 2 pixels, larger than a texture can be (256 x 256)"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const fs::path folder = dir / fault.name;
        ASSERT_EQ(RunCli({"extract", in, folder.string()}).exitCode, 0);
        fault.spoil(folder);
        const auto run = RunCli({"build", folder.string(), out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.rfind("vornix-cli: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("\"" + folder.string() + "/"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(fault.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

// A wad whose header says 0 sprites is refused, naming the count that --recover loads.
TEST(CliBuild, ZeroCountWadsLoadOnlyWithRecover) {
    fixtures::TempDir dir;
    const std::string in = WriteSample(dir, "zero.swd", ZeroCounted(fixtures::SmallWad()));
    const std::vector<std::vector<std::string>> commands{{"info", in},
                                                         {"repack", in, (dir / "out.swd").string()},
                                                         {"extract", in, (dir / "x").string()}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0]);
        auto run = RunCli(command);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("; the header says it holds no sprites, but 5 sprites follow, "
                               "which --recover loads\n"),
                  std::string::npos)
            << run.err;
        auto recovering = command;
        recovering.insert(recovering.begin() + 1, "--recover");
        run = RunCli(recovering);
        EXPECT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_EQ(RunCli({"info", "--recover", in}).out.substr(0, 54),
              "version 129, entries 5 (recovered), pages 2, objects 3");
}

} // namespace
