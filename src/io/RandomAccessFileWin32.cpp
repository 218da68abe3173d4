#include "io/RandomAccessFile.h"

#include <filesystem>

#include <windows.h>

namespace io {

namespace {

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

} // namespace

RandomAccessFile::~RandomAccessFile() {
    if (m_handle != nullptr) {
        ::CloseHandle(m_handle);
    }
}

std::error_code RandomAccessFile::Open(const std::string& path) {
    // Backup semantics let a folder open, so that it is named as one below.
    const HANDLE handle = ::CreateFileW(std::filesystem::path(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastError();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info)) {
        ::CloseHandle(handle);
        return std::make_error_code(std::errc::invalid_argument);
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(handle);
        return std::make_error_code(std::errc::is_a_directory);
    }
    m_handle = handle;
    m_size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return {};
}

bool RandomAccessFile::ReadAt(std::uint64_t offset, void* into, std::size_t count,
                              std::error_code& error) const {
    auto* to = static_cast<unsigned char*>(into);
    while (count > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD chunk = count > (1u << 30) ? (1u << 30) : static_cast<DWORD>(count);
        DWORD got = 0;
        if (!::ReadFile(m_handle, to, chunk, &got, &at)) {
            error = ::GetLastError() == ERROR_HANDLE_EOF ? std::error_code() : LastError();
            return false;
        }
        if (got == 0) {
            error = {};
            return false;
        }
        to += got;
        offset += got;
        count -= got;
    }
    return true;
}

} // namespace io
