#include "io/RandomAccessFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace io {

RandomAccessFile::~RandomAccessFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::error_code RandomAccessFile::Open(const std::string& path) {
    // Non-blocking, so that opening a named pipe cannot wait for a writer; regular files
    // ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return {errno, std::system_category()};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return {error, std::system_category()};
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                          : std::errc::invalid_argument);
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
    return {};
}

bool RandomAccessFile::ReadAt(std::uint64_t offset, void* into, std::size_t count,
                              std::error_code& error) const {
    auto* to = static_cast<unsigned char*>(into);
    while (count > 0) {
        const ssize_t got = ::pread(m_fd, to, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            error = got < 0 ? std::error_code(errno, std::system_category()) : std::error_code();
            return false;
        }
        to += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace io
