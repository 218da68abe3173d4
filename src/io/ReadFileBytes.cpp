#include "io/ReadFileBytes.h"

#include "io/RandomAccessFile.h"

#include <utility>

namespace io {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

Result<std::size_t> ReadFileInto(const std::string& path, std::size_t maxBytes,
                                 const std::function<std::uint8_t*(std::size_t)>& allocate) {
    RandomAccessFile file;
    if (const std::error_code ec = file.Open(path)) {
        return Status::Failed(Fault::OpenFailed,
                              ec == std::errc::is_a_directory || ec == std::errc::invalid_argument
                                  ? "Cannot read " + Quoted(path) + ": it is not a file."
                                  : "Cannot open " + Quoted(path) + ": " + ec.message() + ".");
    }
    if (file.Size() > maxBytes) {
        return Status::Failed(Fault::TooLarge, "Cannot read " + Quoted(path) + ": at " +
                                                   std::to_string(file.Size()) +
                                                   " bytes it is too large to be an image we "
                                                   "can use.");
    }
    const auto size = static_cast<std::size_t>(file.Size());
    std::uint8_t* into = allocate(size);
    if (into == nullptr && size > 0) {
        return Status::Failed(Fault::TooLarge,
                              "Cannot read " + Quoted(path) + ": " +
                                  std::make_error_code(std::errc::not_enough_memory).message() +
                                  ".");
    }
    std::error_code ec;
    if (!file.ReadAt(0, into, size, ec)) {
        return Status::Failed(Fault::OpenFailed,
                              "Cannot read " + Quoted(path) + ": " +
                                  (ec ? ec.message()
                                      : std::string("it was shortened while being "
                                                    "read")) +
                                  ".");
    }
    return size;
}

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    const auto allocate = [&bytes](std::size_t n) {
        bytes.resize(n);
        return bytes.data();
    };
    if (Result<std::size_t> read = ReadFileInto(path, maxBytes, allocate); !read) {
        return read.status();
    }
    return bytes;
}

} // namespace io
