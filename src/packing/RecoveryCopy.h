#pragma once

#include "document/SpriteWad.h"
#include "io/Status.h"
#include "packing/PackTextures.h"

#include <cstdint>
#include <string>

// A recovery copy keeps a document's unsaved edits through a crash: the whole wad as an SWD
// file, empty objects included (it is not a save, so nothing is refused), and beside it a
// note naming the file the document came from and when the copy was taken. The copy reads
// back with the ordinary SWD reader.
//
//   WriteRecoveryCopy(snapshot, copy, {original, now});
//   Result<RecoveryNote> note = ReadRecoveryNote(RecoveryNotePath(copy));
struct RecoveryNote {
    // The document's file; empty for a wad that has none yet.
    std::string originalPath;
    // Seconds since 1970-01-01 UTC.
    std::int64_t takenAt = 0;

    bool operator==(const RecoveryNote&) const = default;
};

// The wad's objects and textures, the textures sharing their pixels with the wad's: cheap to
// take on the thread that edits the wad, and then packed and written on another thread while
// the wad is edited on (an edit that writes a shared texture copies it first).
SpriteWad RecoverySnapshot(const SpriteWad& wad);

// Where the note of the copy at `copyPath` lives.
std::string RecoveryNotePath(const std::string& copyPath);

// Packs the wad's textures onto fresh pages (filling its pages and entries) and writes the
// note, then the copy, each atomically: a copy on disk always has a note, and both are either
// the old or the new ones. `callbacks.running` stops it before the copy is written
// (Cancelled).
Status WriteRecoveryCopy(SpriteWad& wad, const std::string& copyPath, const RecoveryNote& note,
                         const PackCallbacks& callbacks = {});

// Fails with OpenFailed, or Damaged for a file that is not a note.
Result<RecoveryNote> ReadRecoveryNote(const std::string& notePath);
