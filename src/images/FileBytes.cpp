#include "images/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace images {

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
    // Closes now so that a failing close (a late write error) can be reported.
    int Close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Creates a new, empty file beside path; its name holds a random part so that two writers
// of the same target never share one.
int CreateSibling(const std::string& path, std::string& siblingPath) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", entropy());
        siblingPath = path + suffix;
        const int fd = ::open(siblingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
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

bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size,
                        std::string& error) {
    std::string siblingPath;
    FileHandle file(CreateSibling(path, siblingPath));
    if (file.get() < 0) {
        error = "Cannot write " + Quoted(path) + ": " + SystemReason(errno) + ".";
        return false;
    }
    const bool written = WriteAll(file.get(), static_cast<const std::uint8_t*>(data), size) &&
                         ::fsync(file.get()) == 0 && file.Close() == 0 &&
                         ::rename(siblingPath.c_str(), path.c_str()) == 0;
    if (!written) {
        const int reason = errno;
        ::unlink(siblingPath.c_str());
        error = "Cannot write " + Quoted(path) + ": " + SystemReason(reason) + ".";
        return false;
    }
    return true;
}

} // namespace images
