// The file types that res/vornix-mime.xml declares, as the desktop's own tools judge files:
// a MIME database made of that file alone, asked through File::MimeInfo's `mimetype`.
#include "document/SpriteWad.h"
#include "formats/SwoFile.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

bool Runs(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out += buffer;
        }
        pclose(pipe);
    }
    return out;
}

TEST(MimeTypes, WadsAndObjectsAreKnownByNameAndByTheirFirstBytes) {
    if (!Runs("command -v mimetype") || !Runs("command -v update-mime-database")) {
        GTEST_SKIP() << "mimetype (libfile-mimeinfo-perl) or update-mime-database is missing";
    }
    const fixtures::TempDir dir;
    fs::create_directories(dir / "share" / "mime" / "packages");
    fs::copy_file(VORNIX_MIME_XML, dir / "share" / "mime" / "packages" / "vornix.xml");
    ASSERT_TRUE(Runs("update-mime-database '" + (dir / "share" / "mime").string() + "'"));

    SpriteWad wad;
    wad.AddObject(460);
    wad.AddTexture(0, fixtures::MakeTexture(9, 5, 31));
    ASSERT_TRUE(swo::WriteSwoFile((dir / "sky.swo").string(), wad, 0).ok());
    const auto swo = fixtures::ReadFileBytes(dir / "sky.swo");
    const auto swd = fixtures::SmallWad().Build();
    const std::vector<std::uint8_t> notes{'S', 'W', 'D', '!', 0, 0, 0, 0};
    const std::string wadType = "application/x-swd-sprite-wad";
    const std::string objectType = "application/x-swo-sprite-object";
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::string type;
    } files[] = {
        {"small.bin", swd, wadType},
        {"sky.bin", swo, objectType},
        {"notes.swd", notes, wadType},
        {"notes.swo", notes, objectType},
        {"version128.bin", fixtures::SwdBuilder().Version(128).Build(), ""},
        {"toomany.bin", fixtures::SwdBuilder().StatedEntryCount(0x20000).Build(), ""},
        {"notes.bin", notes, ""},
    };
    // Only the database made here: no user's or system's types.
    const std::string env = "XDG_DATA_HOME='" + (dir / "share").string() + "' XDG_DATA_DIRS='" +
                            (dir / "share").string() + "' ";
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        fixtures::WriteFileBytes(dir / f.name, f.bytes);
        std::string type = Output(env + "mimetype -b '" + (dir / f.name).string() + "'");
        type = type.substr(0, type.find('\n'));
        if (f.type.empty()) {
            EXPECT_NE(type, wadType);
            EXPECT_NE(type, objectType);
        } else {
            EXPECT_EQ(type, f.type);
        }
    }
}

} // namespace
