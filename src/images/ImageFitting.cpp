#include "images/ImageFitting.h"

#include "images/BTCImageResample.h"

#include <algorithm>

void FitImageSize(int maxW, int maxH, int& w, int& h) {
    if (w <= maxW && h <= maxH) {
        return;
    }
    const double r = static_cast<double>(w) / static_cast<double>(h);
    const double boxRatio = static_cast<double>(maxW) / static_cast<double>(maxH);
    if (r > boxRatio) {
        h = static_cast<int>(static_cast<double>(maxW) / w * h + 0.5);
        w = maxW;
    } else if (r < boxRatio) {
        w = static_cast<int>(static_cast<double>(maxH) / h * w + 0.5);
        h = maxH;
    } else {
        w = maxW;
        h = maxH;
    }
}

bool FitTexture(BTCImageData& image) {
    if (!image.IsLoaded()) {
        return false;
    }
    int w = image.GetWidth();
    int h = image.GetHeight();
    FitImageSize(kPageSide, kPageSide, w, h);
    w = std::max(w, 1);
    h = std::max(h, 1);
    // A bilinear resample to the image's own size changes nothing; skipping it keeps
    // every pixel exactly as loaded.
    if (w == image.GetWidth() && h == image.GetHeight()) {
        return true;
    }
    return ResampleBilinear(image, w, h);
}
