// Writes the seed corpus of every fuzz target, made by our own writers:
//   make_seed_corpus <folder>  ->  <folder>/swd_reader/*.swd, <folder>/image_loader/*,
//                                  <folder>/swo_reader/*.swo
#include "formats/SwdFile.h"
#include "formats/SwoFile.h"
#include "images/BTCImageObject.h"
#include "packing/PackTextures.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

BTCImageData Pattern(int width, int height) {
    BTCImageData image;
    image.Create(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.Fill(x, y, 1, 1, static_cast<std::uint32_t>(x * 37 << 16 | y * 59 << 8 | 0x80));
        }
    }
    return image;
}

bool WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Sky and default sprites of several sizes, an empty object, a count stored positive.
SpriteWad SmallWad() {
    SpriteWad wad;
    const int sizes[][2] = {{64, 64}, {1, 1}, {256, 3}, {17, 40}, {5, 5}};
    for (const auto& size : sizes) {
        wad.m_textures.push_back(Pattern(size[0], size[1]));
    }
    wad.m_sequences = {{460, -2, 0}, {463, 3, 2}, {494, 0, 5}};
    // Every texture fits a page, so packing cannot fail.
    static_cast<void>(PackTextures(wad));
    return wad;
}

bool WriteSwdSeeds(const fs::path& folder) {
    std::vector<std::uint8_t> small = swd::SerializeSwd(SmallWad());
    bool ok = WriteBytes(folder / "empty.swd", swd::SerializeSwd(SpriteWad{})) &&
              WriteBytes(folder / "small.swd", small);
    small.insert(small.end(), {0x81, 0, 0, 0, 7, 7});
    return ok && WriteBytes(folder / "stale-tail.swd", small);
}

bool WriteImageSeeds(const fs::path& folder) {
    BTCImageObject object;
    object.Attach(Pattern(7, 5));
    const struct {
        const char* name;
        ImageFormat format;
        ExportOptions options;
    } seeds[] = {{"seed.bmp", ImageFormat::Bmp, {}},
                 {"seed.pcx", ImageFormat::Pcx, {}},
                 {"seed.png", ImageFormat::Png, {}},
                 {"seed.tga", ImageFormat::Tga, {}},
                 {"rle.tga", ImageFormat::Tga, {.tgaRunLength = true}},
                 {"seed.tiff", ImageFormat::Tiff, {}},
                 {"seed.jpg", ImageFormat::Jpeg, {.jpegQuality = 50}}};
    for (const auto& seed : seeds) {
        const Status saved = object.Save((folder / seed.name).string(), seed.format, seed.options);
        if (!saved) {
            std::fprintf(stderr, "%s\n", saved.message().c_str());
            return false;
        }
    }
    return true;
}

// Both objects of the small wad with textures: odd widths padded, full rows, a 1 x 1.
bool WriteSwoSeeds(const fs::path& folder) {
    const SpriteWad wad = SmallWad();
    for (std::size_t object = 0; object < 2; ++object) {
        std::vector<std::uint8_t> bytes;
        if (!swo::EncodeSwo(wad, object, bytes).ok() ||
            !WriteBytes(folder / ("object" + std::to_string(object) + ".swo"), bytes)) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seed_corpus <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    fs::create_directories(root / "swd_reader");
    fs::create_directories(root / "image_loader");
    fs::create_directories(root / "swo_reader");
    if (!WriteSwdSeeds(root / "swd_reader") || !WriteImageSeeds(root / "image_loader") ||
        !WriteSwoSeeds(root / "swo_reader")) {
        std::fprintf(stderr, "cannot write the seed corpus into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
