#include "images/TextureExport.h"

#include "images/BTCImageObject.h"
#include "io/AtomicFileWriter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <utility>

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

template <std::size_t N>
std::optional<ExportFormat> Lookup(const std::array<std::pair<const char*, ExportFormat>, N>& table,
                                   std::string_view key) {
    const std::string wanted = Lower(key);
    for (const auto& [name, format] : table) {
        if (wanted == name) {
            return format;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ExportFormat> ExportFormatFromIndex(int index) {
    if (index < 1 || index > kExportFormatCount) {
        return std::nullopt;
    }
    return static_cast<ExportFormat>(index);
}

std::optional<ExportFormat> ExportFormatFromName(std::string_view name) {
    static constexpr std::array<std::pair<const char*, ExportFormat>, 7> names{{
        {"bmp", ExportFormat::Bmp},
        {"pcx", ExportFormat::Pcx},
        {"png", ExportFormat::Png},
        {"tga", ExportFormat::Tga},
        {"tiff", ExportFormat::Tiff},
        {"jpeg", ExportFormat::Jpeg},
        {"raw", ExportFormat::Raw},
    }};
    return Lookup(names, name);
}

std::optional<ExportFormat> ExportFormatFromPath(std::string_view path) {
    static constexpr std::array<std::pair<const char*, ExportFormat>, 11> extensions{{
        {"bmp", ExportFormat::Bmp},
        {"pcx", ExportFormat::Pcx},
        {"png", ExportFormat::Png},
        {"tga", ExportFormat::Tga},
        {"tif", ExportFormat::Tiff},
        {"tiff", ExportFormat::Tiff},
        {"jpg", ExportFormat::Jpeg},
        {"jpe", ExportFormat::Jpeg},
        {"jpeg", ExportFormat::Jpeg},
        {"jfif", ExportFormat::Jpeg},
        {"raw", ExportFormat::Raw},
    }};
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    return Lookup(extensions, path.substr(dot + 1));
}

std::vector<std::uint8_t> RawDump(const BTCImageData& image) {
    std::vector<std::uint8_t> out(image.GetImageSize());
    const std::size_t rowBytes = image.GetRowSize();
    for (int row = 0; row < image.GetHeight(); ++row) {
        const std::size_t from = static_cast<std::size_t>(image.GetHeight() - 1 - row) * rowBytes;
        std::memcpy(out.data() + static_cast<std::size_t>(row) * rowBytes, image.GetBits() + from,
                    rowBytes);
    }
    return out;
}

namespace {

bool Fail(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
    return false;
}

// Written by us rather than the library, so a failure carries the system's reason.
bool SaveRaw(const BTCImageData& image, const std::string& path, std::string* error) {
    if (!image.IsLoaded()) {
        return Fail(error, "Cannot save \"" + path + "\": there is no image to save.");
    }
    std::string why = WriteFileAtomically(path, RawDump(image));
    return why.empty() || Fail(error, std::move(why));
}

int CodecOf(ExportFormat format) {
    switch (format) {
    case ExportFormat::Bmp:
        return BTCImageObject::CodecBMP;
    case ExportFormat::Pcx:
        return BTCImageObject::CodecPCX;
    case ExportFormat::Png:
        return BTCImageObject::CodecPNG;
    case ExportFormat::Tga:
        return BTCImageObject::CodecTGA;
    case ExportFormat::Tiff:
        return BTCImageObject::CodecTIFF;
    case ExportFormat::Jpeg:
        return BTCImageObject::CodecJPEG;
    case ExportFormat::Raw:
        break;
    }
    return BTCImageObject::CodecUnknown;
}

} // namespace

bool ExportImage(const BTCImageData& image, const std::string& path, ExportFormat format,
                 const ExportOptions& options, std::string* error) {
    if (format == ExportFormat::Raw) {
        return SaveRaw(image, path, error);
    }
    BTCEncoderOptionsTGA tga;
    tga.SetOption(0, options.tgaRunLength ? 1 : 0);
    BTCEncoderOptionsJPEG jpeg;
    jpeg.SetOption(0, options.jpegQuality);
    const BTCEncoderOptions* encoderOptions = nullptr;
    if (format == ExportFormat::Tga) {
        encoderOptions = &tga;
    } else if (format == ExportFormat::Jpeg) {
        encoderOptions = &jpeg;
    }
    BTCImageObject object;
    object.Attach(image);
    return object.Save(path, CodecOf(format), encoderOptions, error);
}
