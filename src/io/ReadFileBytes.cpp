#include "io/ReadFileBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace io {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string SystemReason(int code) {
    return std::strerror(code);
}

// Closes the descriptor on every way out.
class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error) {
    // Non-blocking, so that opening a pipe without a writer returns at once and is refused
    // below as not a file; reading a regular file ignores the flag.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        error = "Cannot open " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return false;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        error = "Cannot read " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "Cannot read " + Quoted(path) + ": it is not a file.";
        return false;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        error = "Cannot read " + Quoted(path) + ": at " + std::to_string(info.st_size) +
                " bytes it is too large to be an image we can use.";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = "Cannot read " + Quoted(path) + ": " + SystemReason(errno) + ".";
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    // The file may have shrunk since fstat; what was read is what the file holds.
    bytes.resize(done);
    out = std::move(bytes);
    return true;
}

} // namespace io
