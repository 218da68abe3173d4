#include "images/ResizeMath.h"

#include "images/BTCImageResample.h"
#include "images/ImageFitting.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

int ScaledSide(int side, int numerator, int denominator) {
    if (side <= 0 || numerator <= 0 || denominator <= 0) {
        return 0;
    }
    return static_cast<int>(std::min(kIntMax, std::int64_t{side} * numerator / denominator));
}

} // namespace

int HeightForWidth(int width, int originalWidth, int originalHeight) {
    return ScaledSide(width, originalHeight, originalWidth);
}

int WidthForHeight(int height, int originalWidth, int originalHeight) {
    return ScaledSide(height, originalWidth, originalHeight);
}

TextureSize RangeTargetSize(int width, int height, int boxWidth, int boxHeight, bool keepAspect) {
    FitImageSize(kPageSide, kPageSide, boxWidth, boxHeight);
    boxWidth = std::max(boxWidth, 1);
    boxHeight = std::max(boxHeight, 1);
    if (!keepAspect || width < 1 || height < 1) {
        return {boxWidth, boxHeight};
    }
    // The side that needs the larger scale-down (or the smaller scale-up) fills the box.
    TextureSize size;
    if (std::int64_t{width} * boxHeight >= std::int64_t{height} * boxWidth) {
        size = {boxWidth, ScaledSide(height, boxWidth, width)};
    } else {
        size = {ScaledSide(width, boxHeight, height), boxHeight};
    }
    return {std::max(size.width, 1), std::max(size.height, 1)};
}

bool ResizeTexture(BTCImageData& texture, int width, int height, ResizeFilter filter) {
    return filter == ResizeFilter::Stretch ? ResampleNearest(texture, width, height)
                                           : ResampleBilinear(texture, width, height);
}
