#include "io/AtomicFileWriter.h"

#include "io/LinkTarget.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Status Describe(const std::string& path, int error) {
    return Status::Failed(Fault::WriteFailed, "Cannot write the file \"" + path +
                                                  "\": " + std::system_category().message(error));
}

// A name beside the target that no other writer in this or another process picks.
std::string TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    return (target.parent_path() /
            ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
             std::to_string(counter.fetch_add(1))))
        .string();
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing for the
// caller, whose file is complete either way.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

#ifdef O_TMPFILE
// An unnamed file in `folder`, or -1 where the file system or the kernel has none, or where
// there is no /proc to give it a name through later.
int OpenUnnamed(const std::filesystem::path& folder) {
    if (::access("/proc/self/fd", X_OK) != 0) {
        return -1;
    }
    return ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the complete unnamed file a temporary name beside the target, to be renamed over it:
// a link cannot replace an existing file. Returns 0 or the system's error.
int LinkUnnamed(int fd, const std::filesystem::path& target, std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (errno != EEXIST) {
            temporary.clear();
            return errno;
        }
    }
    temporary.clear();
    return EEXIST;
}
#else
int OpenUnnamed(const std::filesystem::path&) {
    return -1;
}
int LinkUnnamed(int, const std::filesystem::path&, std::string&) {
    return EOPNOTSUPP;
}
#endif

// The process's umask, read without changing it (umask() would, for every thread); older
// kernels do not apply it to unnamed files.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Umask:")) {
            // A line we cannot read leaves the usual mask rather than failing the save.
            const char* first = line.data() + 6;
            const char* last = line.data() + line.size();
            while (first != last && (*first == ' ' || *first == '\t')) {
                ++first;
            }
            unsigned mask = 0;
            return std::from_chars(first, last, mask, 8).ec == std::errc() ? mask : 022;
        }
    }
    return 022;
}

} // namespace

Status WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::error_code linkError;
    const std::filesystem::path target = io::LinkTarget(path, linkError);
    if (linkError) {
        return Describe(path, linkError.value());
    }

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Describe(path, EISDIR);
    }
    // A pipe or a device is not a file to be replaced by renaming a new one over it.
    if (exists && !S_ISREG(existing.st_mode)) {
        return Status::Failed(Fault::WriteFailed,
                              "Cannot write the file \"" + path + "\": it is not a regular file");
    }

    std::string temporary;
    int fd = OpenUnnamed(target.parent_path());
    const bool unnamed = fd >= 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return Describe(path, errno);
    }

    int error = 0;
    // A new file gets the mode that creating it by name would have given it.
    if (exists || unnamed) {
        const mode_t mode = exists ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
        if (::fchmod(fd, mode) != 0) {
            error = errno;
        }
    }
    if (error == 0 && !WriteAll(fd, bytes)) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    // The unnamed file gets its name only now that it is complete, so a process killed
    // before this point leaves nothing behind.
    if (error == 0 && unnamed) {
        error = LinkUnnamed(fd, target, temporary);
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        return Describe(path, error);
    }
    SyncFolder(target.parent_path());
    return {};
}
