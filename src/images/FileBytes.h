#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace images {

// Reads a whole file of at most maxBytes. On failure returns false and describes it, naming
// the file, with the operating system's reason.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error);

// Replaces path with the given bytes without ever leaving a half-written file in its place:
// the bytes go to a new file beside it, which is flushed to disk and then renamed over path.
// On failure path is untouched, the new file is removed and error names path.
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size,
                        std::string& error);

} // namespace images
