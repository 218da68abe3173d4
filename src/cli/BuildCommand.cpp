#include "Commands.h"
#include "ObjectManifest.h"

#include "images/BTCImageObject.h"
#include "images/ImageFormats.h"
#include "io/ReadFileBytes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Far more than any list of objects takes; a larger file is not one extract wrote.
constexpr std::size_t kMaxManifestBytes = std::size_t{16} << 20;

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// The texture files of a slot folder, "<number>.<image extension>", in numeric order. Other
// files (an editor's backups, a system's thumbnails) are left alone.
bool ListTextures(const fs::path& folder, std::vector<fs::path>& textures, std::string& error) {
    std::map<unsigned long, fs::path> numbered;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        const std::string stem = path.stem().string();
        if (stem.empty() || stem.size() > 9 || !IsReadableImagePath(path.string()) ||
            !std::all_of(stem.begin(), stem.end(),
                         [](unsigned char c) { return std::isdigit(c) != 0; })) {
            continue;
        }
        const unsigned long number = std::stoul(stem);
        const auto [at, fresh] = numbered.emplace(number, path);
        if (!fresh) {
            error = Quoted(at->second) + " and " + Quoted(path) + " are both texture " +
                    std::to_string(number);
            return false;
        }
    }
    if (ec) {
        error = "Cannot read the folder " + Quoted(folder) + ": " + ec.message();
        return false;
    }
    textures.clear();
    for (auto& [number, path] : numbered) {
        textures.push_back(std::move(path));
    }
    return true;
}

// Every texture place is claimed by at most one object, and every empty object starts at
// most right after the last texture: what a wad's objects must be. Marks the claimed places.
bool CheckPlaces(const std::vector<ObjectSequence>& objects, std::vector<bool>& claimed,
                 std::string& error) {
    const std::size_t total = claimed.size();
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const ObjectSequence& object = objects[k];
        const std::size_t first = object.firstTexture;
        const auto count = static_cast<std::size_t>(object.TextureCount());
        const std::string name =
            "object " + std::to_string(k) + " (slot " + std::to_string(object.slotId) + ")";
        if (first + count > total || (count == 0 && first > total)) {
            error = name + " starts at texture " + std::to_string(first) + ", past the " +
                    std::to_string(total) + " textures of the folder";
            return false;
        }
        for (std::size_t i = first; i < first + count; ++i) {
            if (claimed[i]) {
                error = name + " claims texture " + std::to_string(i) + ", as another object does";
                return false;
            }
            claimed[i] = true;
        }
    }
    return true;
}

// Loads one texture file; fails naming it when it cannot be read or is larger than a page.
bool LoadTexture(const fs::path& file, SpriteTexture& texture, std::string& error) {
    BTCImageObject image;
    if (const Status read = image.Load(file.string()); !read) {
        error = read.message();
        return false;
    }
    const BTCImageData& pixels = *image.GetObjectDataPtr();
    if (pixels.GetWidth() > kPageSide || pixels.GetHeight() > kPageSide) {
        error = Quoted(file) + " is " + std::to_string(pixels.GetWidth()) + " x " +
                std::to_string(pixels.GetHeight()) + " pixels, larger than a texture can be (" +
                std::to_string(kPageSide) + " x " + std::to_string(kPageSide) + ")";
        return false;
    }
    texture = std::move(*image.GetObjectDataPtr());
    return true;
}

} // namespace

int RunBuild(const std::string& folder, const std::string& outPath) {
    const fs::path root = folder;
    const fs::path manifestPath = root / kManifestName;
    const Result<std::vector<std::uint8_t>> manifest =
        io::ReadFileBytes(manifestPath.string(), kMaxManifestBytes);
    if (!manifest) {
        return ReportError(manifest.message());
    }
    SpriteWad wad;
    std::string error;
    if (!ParseManifest({manifest->begin(), manifest->end()}, wad.m_sequences, error)) {
        return ReportError(Quoted(manifestPath) + ": " + error);
    }
    std::vector<fs::path> unowned;
    const fs::path unownedFolder = root / kUnownedFolderName;
    std::error_code ec;
    if (fs::is_directory(unownedFolder, ec) && !ListTextures(unownedFolder, unowned, error)) {
        return ReportError(error);
    }
    std::size_t total = unowned.size();
    for (const ObjectSequence& object : wad.m_sequences) {
        total += static_cast<std::size_t>(object.TextureCount());
    }
    if (total > SpriteWad::kMaxTextures) {
        return ReportError(Quoted(root) + " holds " + std::to_string(total) +
                           " textures, more than the " + std::to_string(SpriteWad::kMaxTextures) +
                           " a sprite wad can hold");
    }
    std::vector<bool> claimed(total, false);
    if (!CheckPlaces(wad.m_sequences, claimed, error)) {
        return ReportError(Quoted(manifestPath) + ": " + error);
    }

    // The objects of one slot take the files of its folder in turn.
    std::map<std::uint32_t, std::pair<std::vector<fs::path>, std::size_t>> slots;
    for (const ObjectSequence& object : wad.m_sequences) {
        if (object.TextureCount() == 0 || slots.count(object.slotId) != 0) {
            continue;
        }
        if (!ListTextures(root / SlotFolderName(object.slotId), slots[object.slotId].first,
                          error)) {
            return ReportError(error);
        }
    }
    wad.m_textures.resize(total);
    for (const ObjectSequence& object : wad.m_sequences) {
        auto& [files, used] = slots[object.slotId];
        for (int line = 0; line < object.TextureCount(); ++line, ++used) {
            if (used >= files.size()) {
                return ReportError(Quoted(root / SlotFolderName(object.slotId)) + " holds " +
                                   std::to_string(files.size()) + " textures, fewer than " +
                                   Quoted(manifestPath) + " gives its objects");
            }
            if (!LoadTexture(files[used],
                             wad.m_textures[object.firstTexture + static_cast<std::size_t>(line)],
                             error)) {
                return ReportError(error);
            }
        }
    }
    // The places no object claims, as many as the unowned textures, take them in order; each
    // must be named by its place.
    for (std::size_t i = 0, next = 0; i < total; ++i) {
        if (claimed[i]) {
            continue;
        }
        const fs::path& file = unowned[next++];
        if (file.stem().string() != std::to_string(i)) {
            return ReportError(Quoted(file) + " should be texture " + std::to_string(i) +
                               ", the next place no object claims");
        }
        if (!LoadTexture(file, wad.m_textures[i], error)) {
            return ReportError(error);
        }
    }
    for (const auto& [slot, listed] : slots) {
        if (listed.second < listed.first.size()) {
            return ReportError(Quoted(root / SlotFolderName(slot)) + " holds " +
                               std::to_string(listed.first.size()) + " textures, more than " +
                               Quoted(manifestPath) + " gives its objects");
        }
    }
    return PackAndWrite(wad, folder, outPath);
}
