// vornix-thumbnailer -s SIZE IN.swd OUT.png: a picture of the wad's first object for file
// managers that follow the freedesktop thumbnailer convention. Reads only the sprites it
// draws and the pages they lie on.
#include "VornixVersion.h"
#include "formats/SwdFile.h"
#include "io/AtomicFileWriter.h"
#include "thumbnailer/ThumbnailGrid.h"

#include <stb_image_write.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: vornix-thumbnailer -s SIZE IN.swd OUT.png\n"
    "Write a picture of at most SIZE x SIZE pixels (8 to 4096) of the textures of the first\n"
    "object of a sprite wad: the first 64 in a grid in line order, magenta shown as a light\n"
    "checkerboard.\n"
    "\n"
    "Options:\n"
    "  -s SIZE        the largest side of the picture, in pixels\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the picture was written\n"
    "  1  the wad could not be read or has no textures to show; nothing is written\n"
    "  2  the command line was wrong\n";

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vornix-thumbnailer: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

int Failure(const std::string& message) {
    std::fprintf(stderr, "vornix-thumbnailer: %s\n", message.c_str());
    return 1;
}

bool ParseSize(const std::string& text, int& size) {
    if (text.empty() || text.size() > 4 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    size = std::stoi(text);
    return size >= thumbnail::kMinSize && size <= thumbnail::kMaxSize;
}

void AppendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* from = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::printf("vornix-thumbnailer %s\n", kVornixVersion);
        return 0;
    }
    int size = 0;
    if (args.size() != 4 || args[0] != "-s") {
        return UsageError("expected -s SIZE IN.swd OUT.png");
    }
    if (!ParseSize(args[1], size)) {
        return UsageError("the size \"" + args[1] + "\" is not a number from 8 to 4096");
    }
    swd::FirstObjectPreview object;
    if (const Status read = swd::ReadFirstObjectPreview(args[2], thumbnail::kMaxShown, object);
        !read.ok()) {
        return Failure(read.message());
    }
    const thumbnail::Picture picture = thumbnail::DrawGrid(object.textures, size);
    if (picture.rgba.empty()) {
        return Failure(object.hasObject
                           ? "the first object of \"" + args[2] + "\" holds no textures to show"
                           : "\"" + args[2] + "\" holds no objects to show");
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, picture.width, picture.height, 4,
                               picture.rgba.data(), picture.width * 4) == 0) {
        return Failure("the picture could not be encoded as PNG");
    }
    if (const Status written = WriteFileAtomically(args[3], png); !written.ok()) {
        return Failure(written.message());
    }
    return 0;
}
