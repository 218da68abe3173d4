#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace io {

// Reads a whole file of at most maxBytes. On failure returns false and describes it, naming
// the file, with the operating system's reason.
bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error);

} // namespace io
