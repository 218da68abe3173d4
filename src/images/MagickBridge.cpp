#include "images/MagickBridge.h"

#include <mutex>

namespace images {

void EnsureMagick() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        // A hostile header can state any size; GraphicsMagick then refuses to allocate
        // rather than reserving gigabytes for an image we would reject anyway.
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, BTCImageData::kMaxSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, BTCImageData::kMaxSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, kMaxDecodedPixels);
        // Four 16-bit channels a pixel, and room for one working copy of the image.
        MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, kMaxDecodedPixels * 8 * 2);
        MagickLib::SetMagickResourceLimit(MagickLib::MapResource, kMaxDecodedPixels * 8 * 2);
        MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
    });
}

Magick::Image ToMagick(const BTCImageData& image) {
    EnsureMagick();
    return Magick::Image(static_cast<unsigned>(image.GetWidth()),
                         static_cast<unsigned>(image.GetHeight()), "BGR", Magick::CharPixel,
                         image.GetBits());
}

bool FromMagick(Magick::Image& image, BTCImageData& out) {
    const auto width = image.columns();
    const auto height = image.rows();
    if (width < 1 || height < 1 || width > BTCImageData::kMaxSide ||
        height > BTCImageData::kMaxSide) {
        return false;
    }
    BTCImageData result;
    if (!result.CreateForOverwrite(static_cast<int>(width), static_cast<int>(height))) {
        return false;
    }
    image.write(0, 0, width, height, "BGR", Magick::CharPixel, result.GetBits());
    out = std::move(result);
    return true;
}

std::string MagickMessage(const std::exception& e) {
    std::string text = e.what();
    const std::string lead = "Magick: ";
    if (text.compare(0, lead.size(), lead) == 0) {
        text.erase(0, lead.size());
    }
    if (const auto at = text.find(" reported by "); at != std::string::npos) {
        text.erase(at);
    }
    const std::string emptyDetail = " ()";
    if (text.size() >= emptyDetail.size() &&
        text.compare(text.size() - emptyDetail.size(), emptyDetail.size(), emptyDetail) == 0) {
        text.erase(text.size() - emptyDetail.size());
    }
    return text;
}

} // namespace images
