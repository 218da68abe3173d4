#pragma once

#include "io/Status.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace io {

// Reads a whole regular file of at most maxBytes into the storage that `allocate` returns for
// the file's size (nullptr: not enough memory), so that a caller can hand the bytes on
// without copying them, and gives the size read. A pipe, device or folder is refused before
// anything is read. A failure names the file and gives the operating system's reason.
Result<std::size_t> ReadFileInto(const std::string& path, std::size_t maxBytes,
                                 const std::function<std::uint8_t*(std::size_t)>& allocate);

// The same into a vector.
Result<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);

} // namespace io
