#pragma once

#include "images/BTCImageObject.h"
#include "pixels/BTCImageData.h"

#include <cstdint>
#include <string>
#include <vector>

// The pixel rows from the bottom row up, three bytes a pixel in blue, green, red order, no
// header and no padding: exactly GetImageSize() bytes.
std::vector<std::uint8_t> RawDump(const BTCImageData& image);

// Writes image to path in the given format. The target is replaced as a whole or left as it
// was. A failure names the file (for RAW with the system's reason).
Status ExportImage(const BTCImageData& image, const std::string& path, ImageFormat format,
                   const ExportOptions& options = {});
