#pragma once

#include "pixels/BTCImageData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The formats a texture can be exported in, numbered as the filters of the export dialog.
enum class ExportFormat { Bmp = 1, Pcx, Png, Tga, Tiff, Jpeg, Raw };
inline constexpr int kExportFormatCount = 7;

struct ExportOptions {
    int jpegQuality = 100; // 0..100
    bool tgaRunLength = false;
};

// The format of dialog filter `index` (1-based), or nothing outside 1..7.
std::optional<ExportFormat> ExportFormatFromIndex(int index);
// "bmp", "pcx", "png", "tga", "tiff", "jpeg" or "raw", in any case.
std::optional<ExportFormat> ExportFormatFromName(std::string_view name);
// From the extension of a file name: .bmp .pcx .png .tga .tif .tiff .jpg .jpe .jpeg .jfif
// .raw, in any case.
std::optional<ExportFormat> ExportFormatFromPath(std::string_view path);

// The pixel rows from the bottom row up, three bytes a pixel in blue, green, red order, no
// header and no padding: exactly GetImageSize() bytes.
std::vector<std::uint8_t> RawDump(const BTCImageData& image);

// Writes image to path in the given format. The target is replaced as a whole or left as it
// was. On failure returns false and, if error is given, says why, naming the file (for RAW
// with the system's reason).
bool ExportImage(const BTCImageData& image, const std::string& path, ExportFormat format,
                 const ExportOptions& options = {}, std::string* error = nullptr);
