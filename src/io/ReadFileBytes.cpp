#include "io/ReadFileBytes.h"

#include "io/RandomAccessFile.h"

#include <utility>

namespace io {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

bool ReadFileInto(const std::string& path, std::size_t maxBytes,
                  const std::function<std::uint8_t*(std::size_t)>& allocate, std::size_t& size,
                  std::string& error) {
    RandomAccessFile file;
    if (const std::error_code ec = file.Open(path)) {
        error = ec == std::errc::is_a_directory || ec == std::errc::invalid_argument
                    ? "Cannot read " + Quoted(path) + ": it is not a file."
                    : "Cannot open " + Quoted(path) + ": " + ec.message() + ".";
        return false;
    }
    if (file.Size() > maxBytes) {
        error = "Cannot read " + Quoted(path) + ": at " + std::to_string(file.Size()) +
                " bytes it is too large to be an image we can use.";
        return false;
    }
    size = static_cast<std::size_t>(file.Size());
    std::uint8_t* into = allocate(size);
    if (into == nullptr && size > 0) {
        error = "Cannot read " + Quoted(path) + ": " +
                std::make_error_code(std::errc::not_enough_memory).message() + ".";
        return false;
    }
    std::error_code ec;
    if (!file.ReadAt(0, into, size, ec)) {
        error = "Cannot read " + Quoted(path) + ": " +
                (ec ? ec.message() : std::string("it was shortened while being read")) + ".";
        return false;
    }
    return true;
}

bool ReadFileBytes(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out,
                   std::string& error) {
    std::vector<std::uint8_t> bytes;
    std::size_t size = 0;
    const auto allocate = [&bytes](std::size_t n) {
        bytes.resize(n);
        return bytes.data();
    };
    if (!ReadFileInto(path, maxBytes, allocate, size, error)) {
        return false;
    }
    out = std::move(bytes);
    return true;
}

} // namespace io
