#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace io {

// Reads a whole regular file of at most maxBytes into the storage that `allocate` returns for
// the file's size (nullptr: not enough memory), so that a caller can hand the bytes on
// without copying them. A pipe, device or folder is refused before anything is read. On
// failure returns false and describes it, naming the file, with the operating system's reason.
bool ReadFileInto(const std::string& path, std::size_t maxBytes,
                  const std::function<std::uint8_t*(std::size_t)>& allocate, std::size_t& size,
                  std::string& error);

// The same into a vector.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error);

} // namespace io
