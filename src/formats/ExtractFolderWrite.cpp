#include "formats/ExtractFolder.h"

#include "images/BTCImageObject.h"
#include "io/AtomicFileWriter.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace extract {

namespace {

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

Status Refuse(std::string message) {
    return Status::Failed(Fault::Refused, std::move(message));
}

Status WriteFailed(std::string message) {
    return Status::Failed(Fault::WriteFailed, std::move(message));
}

struct PlannedFile {
    fs::path path;
    std::size_t texture;
};

// Everything the write created, so that a failure part-way can take it all back.
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

// The folders and files the wad becomes. Objects of one slot share its folder and number
// their textures on from the one before.
void Plan(const SpriteWad& wad, const fs::path& root, std::vector<fs::path>& folders,
          std::vector<PlannedFile>& files) {
    std::map<std::uint32_t, std::size_t> nextNumber;
    for (const ObjectSequence& object : wad.m_sequences) {
        if (object.TextureCount() == 0) {
            continue;
        }
        const fs::path slotFolder = root / SlotFolderName(object.slotId);
        auto [next, fresh] = nextNumber.emplace(object.slotId, 0);
        if (fresh) {
            folders.push_back(slotFolder);
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
        folders.push_back(root / kUnownedFolderName);
        for (std::size_t i = 0; i < owned.size(); ++i) {
            if (!owned[i]) {
                files.push_back({folders.back() / (std::to_string(i) + ".png"), i});
            }
        }
    }
}

// A clash is reported before anything is written.
Status CheckNothingInTheWay(const fs::path& root, const std::vector<fs::path>& folders,
                            const std::vector<PlannedFile>& files, const fs::path& manifest) {
    if (Exists(root) && !IsFolder(root)) {
        return Refuse("Cannot write into " + Quoted(root) + ": it is not a folder");
    }
    for (const fs::path& path : folders) {
        if (Exists(path) && !IsFolder(path)) {
            return Refuse("Cannot write into " + Quoted(path) + ": it is not a folder");
        }
    }
    for (const PlannedFile& file : files) {
        if (Exists(file.path)) {
            return Refuse(Quoted(file.path) + " already exists");
        }
    }
    if (Exists(manifest)) {
        return Refuse(Quoted(manifest) + " already exists");
    }
    return {};
}

} // namespace

Result<WrittenFolder> WriteExtractFolder(const SpriteWad& wad, const std::string& folder) {
    if (folder.empty()) {
        return Refuse("The output folder name is empty");
    }
    const fs::path root = folder;
    std::vector<fs::path> folders;
    std::vector<PlannedFile> files;
    Plan(wad, root, folders, files);
    const fs::path manifest = root / kManifestName;
    if (Status clear = CheckNothingInTheWay(root, folders, files, manifest); !clear) {
        return clear;
    }

    Undo undo;
    std::deque<fs::path> missing;
    for (fs::path p = root; !p.empty() && !Exists(p); p = p.parent_path()) {
        missing.push_front(p);
        if (p == p.parent_path()) {
            break;
        }
    }
    missing.insert(missing.end(), folders.begin(), folders.end());
    for (const fs::path& path : missing) {
        if (IsFolder(path)) {
            continue;
        }
        std::error_code ec;
        if (!fs::create_directory(path, ec)) {
            return WriteFailed("Cannot create the folder " + Quoted(path) + ": " +
                               (ec ? ec.message() : "it is in the way"));
        }
        undo.Folder(path);
    }
    for (const PlannedFile& file : files) {
        BTCImageObject image;
        image.Attach(wad.m_textures[file.texture]);
        if (Status saved = image.Save(file.path.string(), ImageFormat::Png); !saved) {
            return saved;
        }
        undo.File(file.path);
    }
    const std::string listing = FormatManifest(wad.m_sequences);
    if (const Status written = WriteFileAtomically(
            manifest.string(),
            {reinterpret_cast<const std::uint8_t*>(listing.data()), listing.size()});
        !written) {
        return written;
    }
    undo.Done();
    return WrittenFolder{files.size(), folders.size()};
}

} // namespace extract
