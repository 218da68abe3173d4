#include "Commands.h"

#include "ObjectManifest.h"

#include "images/BTCImageObject.h"
#include "io/AtomicFileWriter.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

struct PlannedFile {
    fs::path path;
    std::size_t texture;
};

// Everything the command created, so that a failure part-way can take it all back.
class Undo {
public:
    void Folder(const fs::path& path) { m_folders.push_back(path); }
    void File(const fs::path& path) { m_files.push_back(path); }
    void Done() {
        m_files.clear();
        m_folders.clear();
    }
    ~Undo() {
        std::error_code ec;
        for (const fs::path& file : m_files) {
            fs::remove(file, ec);
        }
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) {
            fs::remove(*it, ec);
        }
    }

private:
    std::vector<fs::path> m_folders;
    std::vector<fs::path> m_files;
};

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

} // namespace

int RunExtract(const std::string& swdPath, const std::string& folder,
               const swd::ReadOptions& options) {
    SpriteWad wad;
    if (!LoadWad(swdPath, options, wad)) {
        return 1;
    }
    if (folder.empty()) {
        return ReportError("The output folder name is empty");
    }
    const fs::path root = folder;

    // Plan every folder and file first and check that none is in the way, so that a clash
    // is reported before anything is written. Objects of one slot share its folder and
    // number their textures on from the one before.
    std::map<std::uint32_t, std::size_t> nextNumber;
    std::vector<fs::path> objectFolders;
    std::vector<PlannedFile> files;
    for (std::size_t k = 0; k < wad.ObjectCount(); ++k) {
        const ObjectSequence& object = wad.m_sequences[k];
        if (object.TextureCount() == 0) {
            continue;
        }
        const fs::path slotFolder = root / SlotFolderName(object.slotId);
        auto [next, fresh] = nextNumber.emplace(object.slotId, 0);
        if (fresh) {
            objectFolders.push_back(slotFolder);
        }
        for (int line = 0; line < object.TextureCount(); ++line) {
            files.push_back({slotFolder / (std::to_string(next->second++) + ".png"),
                             object.firstTexture + static_cast<std::size_t>(line)});
        }
    }
    // Textures no object owns keep their places through their names.
    std::vector<bool> owned(wad.TextureCount(), false);
    for (const PlannedFile& file : files) {
        owned[file.texture] = true;
    }
    if (std::find(owned.begin(), owned.end(), false) != owned.end()) {
        objectFolders.push_back(root / kUnownedFolderName);
        for (std::size_t i = 0; i < owned.size(); ++i) {
            if (!owned[i]) {
                files.push_back({objectFolders.back() / (std::to_string(i) + ".png"), i});
            }
        }
    }
    const fs::path manifest = root / kManifestName;
    if (Exists(root) && !IsFolder(root)) {
        return ReportError("Cannot write into " + Quoted(root) + ": it is not a folder");
    }
    for (const fs::path& path : objectFolders) {
        if (Exists(path) && !IsFolder(path)) {
            return ReportError("Cannot write into " + Quoted(path) + ": it is not a folder");
        }
    }
    for (const PlannedFile& file : files) {
        if (Exists(file.path)) {
            return ReportError(Quoted(file.path) + " already exists");
        }
    }
    if (Exists(manifest)) {
        return ReportError(Quoted(manifest) + " already exists");
    }

    Undo undo;
    std::deque<fs::path> missing;
    for (fs::path p = root; !p.empty() && !Exists(p); p = p.parent_path()) {
        missing.push_front(p);
        if (p == p.parent_path()) {
            break;
        }
    }
    missing.insert(missing.end(), objectFolders.begin(), objectFolders.end());
    for (const fs::path& path : missing) {
        if (IsFolder(path)) {
            continue;
        }
        std::error_code ec;
        if (!fs::create_directory(path, ec)) {
            return ReportError("Cannot create the folder " + Quoted(path) + ": " +
                               (ec ? ec.message() : "it is in the way"));
        }
        undo.Folder(path);
    }
    for (const PlannedFile& file : files) {
        BTCImageObject image;
        image.Attach(wad.m_textures[file.texture]);
        if (const Status saved = image.Save(file.path.string(), ImageFormat::Png); !saved) {
            return ReportError(saved.message());
        }
        undo.File(file.path);
    }
    const std::string listing = FormatManifest(wad.m_sequences);
    if (const Status written = WriteFileAtomically(
            manifest.string(),
            {reinterpret_cast<const std::uint8_t*>(listing.data()), listing.size()});
        !written) {
        return ReportError(written.message());
    }
    undo.Done();
    std::printf("Extracted %zu textures into %zu folders under %s\n", files.size(),
                objectFolders.size(), root.string().c_str());
    return 0;
}
