#include "io/LinkTarget.h"

namespace io {

std::filesystem::path LinkTarget(const std::filesystem::path& path, std::error_code& error) {
    // The limit the system itself applies when it follows links.
    constexpr int kMaxHops = 40;
    std::filesystem::path target = path;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(target, ec)) {
            error.clear();
            return target;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            return path;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

} // namespace io
