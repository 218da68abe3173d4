#pragma once

#include <filesystem>
#include <system_error>

namespace io {

// The path a chain of symbolic links ends at, whether or not that file exists yet: saving
// through a link replaces (or creates) the file it points to and keeps the link. A path that
// is no link is returned as it is; a loop fails with too_many_symbolic_link_levels.
std::filesystem::path LinkTarget(const std::filesystem::path& path, std::error_code& error);

} // namespace io
