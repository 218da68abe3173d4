#include "packing/RecoveryCopy.h"

#include "formats/SwdFile.h"
#include "io/AtomicFileWriter.h"
#include "io/ReadFileBytes.h"

#include <charconv>
#include <string_view>
#include <vector>

namespace {

// The first line says what the file is, the second holds the time; the original path is all
// that follows, so that any byte a file name may hold survives.
constexpr std::string_view kNoteMagic = "vornix recovery note 1\n";
// A note is a few lines; anything far longer is not one.
constexpr std::size_t kMaxNoteBytes = 64 * 1024;

} // namespace

SpriteWad RecoverySnapshot(const SpriteWad& wad) {
    SpriteWad snapshot;
    snapshot.m_sequences = wad.m_sequences;
    snapshot.m_textures.reserve(wad.m_textures.size());
    for (const SpriteTexture& texture : wad.m_textures) {
        snapshot.m_textures.push_back(texture.SharedCopy());
    }
    return snapshot;
}

std::string RecoveryNotePath(const std::string& copyPath) {
    return copyPath + ".note";
}

Status WriteRecoveryCopy(SpriteWad& wad, const std::string& copyPath, const RecoveryNote& note,
                         const PackCallbacks& callbacks) {
    if (Status packed = PackTextures(wad, callbacks); !packed) {
        return packed;
    }
    const std::string text =
        std::string(kNoteMagic) + std::to_string(note.takenAt) + "\n" + note.originalPath;
    const std::vector<std::uint8_t> noteBytes(text.begin(), text.end());
    if (Status written = WriteFileAtomically(RecoveryNotePath(copyPath), noteBytes); !written) {
        return written;
    }
    return swd::WriteSwdFile(copyPath, wad);
}

Result<RecoveryNote> ReadRecoveryNote(const std::string& notePath) {
    const Result<std::vector<std::uint8_t>> bytes = io::ReadFileBytes(notePath, kMaxNoteBytes);
    if (!bytes) {
        return bytes.status();
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const Status damaged =
        Status::Failed(Fault::Damaged, "The recovery note \"" + notePath + "\" is damaged");
    if (!text.starts_with(kNoteMagic)) {
        return damaged;
    }
    const std::string_view rest = text.substr(kNoteMagic.size());
    const std::size_t end = rest.find('\n');
    RecoveryNote note;
    if (end == std::string_view::npos) {
        return damaged;
    }
    const auto [stop, error] = std::from_chars(rest.data(), rest.data() + end, note.takenAt);
    if (error != std::errc() || stop != rest.data() + end) {
        return damaged;
    }
    note.originalPath = std::string(rest.substr(end + 1));
    return note;
}
