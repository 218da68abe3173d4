#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>

namespace io {

// A regular file opened for reading at any offset, so that a reader fetches only the parts
// it needs and memory follows what it reads, not the size of the file on disk.
class RandomAccessFile {
public:
    RandomAccessFile() = default;
    ~RandomAccessFile();
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;

    // Opens without blocking: a named pipe or a device is refused with invalid_argument and a
    // folder with is_a_directory, before anything is read from it.
    std::error_code Open(const std::string& path);
    std::uint64_t Size() const { return m_size; }
    // Reads exactly count bytes from offset. Fails with the system's error, or with an empty
    // error code when the file ends first (it was shortened since it was opened).
    bool ReadAt(std::uint64_t offset, void* into, std::size_t count, std::error_code& error) const;

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    std::uint64_t m_size = 0;
};

} // namespace io
