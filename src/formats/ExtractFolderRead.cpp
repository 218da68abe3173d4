#include "formats/ExtractFolder.h"

#include "images/BTCImageObject.h"
#include "images/ImageFormats.h"
#include "io/ReadFileBytes.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <utility>

namespace fs = std::filesystem;

namespace extract {

namespace {

// Far more than any list of objects takes; a larger file is not one an extract wrote.
constexpr std::size_t kMaxManifestBytes = std::size_t{16} << 20;

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

Status Damaged(std::string message) {
    return Status::Failed(Fault::Damaged, std::move(message));
}

// The texture files of a slot folder, "<number>.<image extension>", in numeric order. Other
// files (an editor's backups, a system's thumbnails) are left alone.
Result<std::vector<fs::path>> ListTextures(const fs::path& folder) {
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
            return Damaged(Quoted(at->second) + " and " + Quoted(path) + " are both texture " +
                           std::to_string(number));
        }
    }
    if (ec) {
        return Status::Failed(Fault::OpenFailed,
                              "Cannot read the folder " + Quoted(folder) + ": " + ec.message());
    }
    std::vector<fs::path> textures;
    for (auto& [number, path] : numbered) {
        textures.push_back(std::move(path));
    }
    return textures;
}

// Every texture place is claimed by at most one object, and every empty object starts at
// most right after the last texture: what a wad's objects must be. Marks the claimed places.
Status CheckPlaces(const std::vector<ObjectSequence>& objects, std::vector<bool>& claimed) {
    const std::size_t total = claimed.size();
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const ObjectSequence& object = objects[k];
        const std::size_t first = object.firstTexture;
        const auto count = static_cast<std::size_t>(object.TextureCount());
        const std::string name =
            "object " + std::to_string(k) + " (slot " + std::to_string(object.slotId) + ")";
        if (first + count > total || (count == 0 && first > total)) {
            return Damaged(name + " starts at texture " + std::to_string(first) + ", past the " +
                           std::to_string(total) + " textures of the folder");
        }
        for (std::size_t i = first; i < first + count; ++i) {
            if (claimed[i]) {
                return Damaged(name + " claims texture " + std::to_string(i) +
                               ", as another object does");
            }
            claimed[i] = true;
        }
    }
    return {};
}

// Loads one texture file; fails naming it when it cannot be read or is larger than a page.
Status LoadTexture(const fs::path& file, SpriteTexture& texture) {
    BTCImageObject image;
    if (Status read = image.Load(file.string()); !read) {
        return read;
    }
    const BTCImageData& pixels = *image.GetObjectDataPtr();
    if (pixels.GetWidth() > kPageSide || pixels.GetHeight() > kPageSide) {
        return Damaged(Quoted(file) + " is " + std::to_string(pixels.GetWidth()) + " x " +
                       std::to_string(pixels.GetHeight()) +
                       " pixels, larger than a texture can be (256 x 256)");
    }
    texture = std::move(*image.GetObjectDataPtr());
    return {};
}

// The objects of one slot take the files of its folder in turn, which must be as many as
// the objects' textures.
Status LoadObjectTextures(const fs::path& root, const fs::path& manifestPath, SpriteWad& wad) {
    std::map<std::uint32_t, std::pair<std::vector<fs::path>, std::size_t>> slots;
    for (const ObjectSequence& object : wad.m_sequences) {
        if (object.TextureCount() == 0 || slots.count(object.slotId) != 0) {
            continue;
        }
        Result<std::vector<fs::path>> listed = ListTextures(root / SlotFolderName(object.slotId));
        if (!listed) {
            return listed.status();
        }
        slots[object.slotId].first = std::move(*listed);
    }
    for (const ObjectSequence& object : wad.m_sequences) {
        auto& [files, used] = slots[object.slotId];
        for (int line = 0; line < object.TextureCount(); ++line, ++used) {
            if (used >= files.size()) {
                return Damaged(Quoted(root / SlotFolderName(object.slotId)) + " holds " +
                               std::to_string(files.size()) + " textures, fewer than " +
                               Quoted(manifestPath) + " gives its objects");
            }
            if (Status loaded = LoadTexture(
                    files[used],
                    wad.m_textures[object.firstTexture + static_cast<std::size_t>(line)]);
                !loaded) {
                return loaded;
            }
        }
    }
    for (const auto& [slot, listed] : slots) {
        if (listed.second < listed.first.size()) {
            return Damaged(Quoted(root / SlotFolderName(slot)) + " holds " +
                           std::to_string(listed.first.size()) + " textures, more than " +
                           Quoted(manifestPath) + " gives its objects");
        }
    }
    return {};
}

// The places no object claims take the unowned textures in order; each must be named by its
// place. The caller has checked that the places claimed are distinct and leave exactly as many
// unclaimed as there are unowned textures.
Status LoadUnownedTextures(const std::vector<fs::path>& unowned, const std::vector<bool>& claimed,
                           SpriteWad& wad) {
    for (std::size_t i = 0, next = 0; i < claimed.size(); ++i) {
        if (claimed[i]) {
            continue;
        }
        const fs::path& file = unowned[next++];
        if (file.stem().string() != std::to_string(i)) {
            return Damaged(Quoted(file) + " should be texture " + std::to_string(i) +
                           ", the next place no object claims");
        }
        if (Status loaded = LoadTexture(file, wad.m_textures[i]); !loaded) {
            return loaded;
        }
    }
    return {};
}

} // namespace

Result<SpriteWad> ReadExtractFolder(const std::string& folder) {
    const fs::path root = folder;
    const fs::path manifestPath = root / kManifestName;
    const Result<std::vector<std::uint8_t>> manifest =
        io::ReadFileBytes(manifestPath.string(), kMaxManifestBytes);
    if (!manifest) {
        return manifest.status();
    }
    Result<std::vector<ObjectSequence>> objects =
        ParseManifest({manifest->begin(), manifest->end()});
    if (!objects) {
        return Damaged(Quoted(manifestPath) + ": " + objects.message());
    }
    SpriteWad wad;
    wad.m_sequences = std::move(*objects);
    std::vector<fs::path> unowned;
    const fs::path unownedFolder = root / kUnownedFolderName;
    std::error_code ec;
    if (fs::is_directory(unownedFolder, ec)) {
        Result<std::vector<fs::path>> listed = ListTextures(unownedFolder);
        if (!listed) {
            return listed.status();
        }
        unowned = std::move(*listed);
    }
    std::size_t total = unowned.size();
    for (const ObjectSequence& object : wad.m_sequences) {
        total += static_cast<std::size_t>(object.TextureCount());
    }
    if (total > SpriteWad::kMaxTextures) {
        return Status::Failed(Fault::TooLarge, Quoted(root) + " holds " + std::to_string(total) +
                                                   " textures, more than the " +
                                                   std::to_string(SpriteWad::kMaxTextures) +
                                                   " a sprite wad can hold");
    }
    std::vector<bool> claimed(total, false);
    if (Status places = CheckPlaces(wad.m_sequences, claimed); !places) {
        return Damaged(Quoted(manifestPath) + ": " + places.message());
    }

    wad.m_textures.resize(total);
    if (Status loaded = LoadObjectTextures(root, manifestPath, wad); !loaded) {
        return loaded;
    }
    if (Status loaded = LoadUnownedTextures(unowned, claimed, wad); !loaded) {
        return loaded;
    }
    return wad;
}

} // namespace extract
