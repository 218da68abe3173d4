#include "images/ResizeMath.h"

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

int ReadTypedNumber(std::string_view text) {
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min(kIntMax, value * 10 + (c - '0'));
    }
    return static_cast<int>(value);
}

int HeightForWidth(int width, int originalWidth, int originalHeight) {
    return ScaledSide(width, originalHeight, originalWidth);
}

int WidthForHeight(int height, int originalWidth, int originalHeight) {
    return ScaledSide(height, originalWidth, originalHeight);
}

TextureSize RangeTargetSize(int width, int height, int boxWidth, int boxHeight, bool keepAspect) {
    FitImageSize(kSpriteLimit, kSpriteLimit, boxWidth, boxHeight);
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

bool StretchTexture(BTCImageData& texture, int width, int height) {
    return texture.Stretch(width, height);
}

bool ResizeTexture(BTCImageData& texture, int width, int height, int filter) {
    return filter == kStretchFilter ? StretchTexture(texture, width, height)
                                    : texture.Resize(width, height);
}
