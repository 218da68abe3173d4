#include "images/BTCImageResample.h"

#include "images/MagickBridge.h"

#include <exception>

namespace {

bool ValidTargetSize(const BTCImageData& image, int width, int height) {
    return image.IsLoaded() && width >= 1 && height >= 1 && width <= BTCImageData::kMaxSide &&
           height <= BTCImageData::kMaxSide;
}

// "!" asks for exactly width x height instead of keeping the aspect ratio.
Magick::Geometry ExactSize(int width, int height) {
    Magick::Geometry size(static_cast<unsigned>(width), static_cast<unsigned>(height));
    size.aspect(true);
    return size;
}

} // namespace

bool ResampleBilinear(BTCImageData& pixels, int width, int height) {
    if (!ValidTargetSize(pixels, width, height)) {
        return false;
    }
    try {
        Magick::Image image = images::ToMagick(pixels);
        image.filterType(Magick::TriangleFilter);
        image.resize(ExactSize(width, height));
        return images::FromMagick(image, pixels);
    } catch (const std::exception&) {
        return false;
    }
}

bool ResampleNearest(BTCImageData& pixels, int width, int height) {
    if (!ValidTargetSize(pixels, width, height)) {
        return false;
    }
    try {
        Magick::Image image = images::ToMagick(pixels);
        image.sample(ExactSize(width, height));
        return images::FromMagick(image, pixels);
    } catch (const std::exception&) {
        return false;
    }
}
