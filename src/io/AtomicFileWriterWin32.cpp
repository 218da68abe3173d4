#include "io/AtomicFileWriter.h"

#include "io/LinkTarget.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#include <windows.h>

namespace {

Status Describe(const std::string& path, DWORD error) {
    return Status::Failed(Fault::WriteFailed,
                          "Cannot write the file \"" + path +
                              "\": " + std::system_category().message(static_cast<int>(error)));
}

// A name beside the target that no other writer in this or another process picks.
std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string name = ".";
    name += target.filename().string();
    name += ".tmp-";
    name += std::to_string(::GetCurrentProcessId());
    name += '-';
    name += std::to_string(counter.fetch_add(1));
    return target.parent_path() / name;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

} // namespace

Status WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::error_code linkError;
    const std::filesystem::path target = io::LinkTarget(path, linkError);
    if (linkError) {
        return Status::Failed(Fault::WriteFailed,
                              "Cannot write the file \"" + path + "\": " + linkError.message());
    }
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Describe(path, ERROR_DIRECTORY);
    }
    // A device name such as NUL or COM1 is not a file to be replaced by a renamed new one.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        return Status::Failed(Fault::WriteFailed,
                              "Cannot write the file \"" + path + "\": it is not a regular file");
    }

    std::filesystem::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(target);
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return Describe(path, ::GetLastError());
    }
    DWORD error = 0;
    if (!WriteAll(file, bytes) || !::FlushFileBuffers(file)) {
        error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (error == 0 && !::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
    }
    if (error != 0) {
        ::DeleteFileW(temporary.c_str());
        return Describe(path, error);
    }
    return {};
}
