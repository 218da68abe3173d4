#include "images/TextureExport.h"

#include <cstring>

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

Status ExportImage(const BTCImageData& image, const std::string& path, ImageFormat format,
                   const ExportOptions& options) {
    BTCImageObject object;
    object.Attach(image);
    return object.Save(path, format, options);
}
