#pragma once

#include "io/Status.h"

#include <cstdint>
#include <span>
#include <string>

// Replaces the file at `path` with `bytes` so that the file is either left as it was or holds
// all of the new bytes: a temporary file in the same folder is written in full, flushed to
// disk and renamed over the target. Where the system has unnamed files (O_TMPFILE), the
// temporary file gets a name only once it is complete, so a process killed while writing
// leaves no partial file behind. An existing target keeps its permission bits; a new one
// gets the usual ones (0666 less the umask). On failure (WriteFailed) the temporary file is
// removed and the message names the path and gives the system's reason.
Status WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
