#include "app/QtImage.h"

#include "pixels/MagentaCheckerboard.h"
#include "pixels/PageSide.h"

#include <algorithm>
#include <cstring>

QImage ToQImage(const BTCImageData& image) {
    if (!image.IsLoaded()) {
        return {};
    }
    // Rows are packed tightly: the row length must be given, or Qt assumes 4-byte rows.
    const QImage view(image.GetBits(), image.GetWidth(), image.GetHeight(),
                      static_cast<qsizetype>(image.GetRowSize()), QImage::Format_BGR888);
    return view.copy();
}

QImage ToPreviewImage(const BTCImageData& image, bool magentaAsCheckerboard, int zoom) {
    if (!image.IsLoaded() || zoom < 1) {
        return {};
    }
    const int width = std::min(image.GetWidth() * zoom, kPageSide);
    const int height = std::min(image.GetHeight() * zoom, kPageSide);
    QImage shown(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row =
            image.GetBits() + static_cast<std::size_t>(y / zoom) * image.GetRowSize();
        uchar* out = shown.scanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            const std::uint8_t* pixel = row + static_cast<std::size_t>(x / zoom) * 3;
            if (magentaAsCheckerboard && checkerboard::IsMagenta(pixel)) {
                out[0] = out[1] = out[2] = checkerboard::Level(x, y);
            } else {
                std::memcpy(out, pixel, 3);
            }
        }
    }
    return shown;
}

int PreviewZoomFactor(int choice, int width, int height) {
    if (choice != kZoomToFit) {
        return choice;
    }
    return width > 0 && height > 0 ? std::max(1, std::min(kPageSide / width, kPageSide / height))
                                   : 1;
}

BTCImageData FromQImage(const QImage& image) {
    BTCImageData out;
    if (image.isNull() || image.width() > BTCImageData::kMaxSide ||
        image.height() > BTCImageData::kMaxSide) {
        return out;
    }
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull() || !out.CreateForOverwrite(bgr.width(), bgr.height())) {
        return BTCImageData();
    }
    // Qt pads every row to 4 bytes; ours are packed tightly.
    for (int y = 0; y < bgr.height(); ++y) {
        std::memcpy(out.GetBits() + static_cast<std::size_t>(y) * out.GetRowSize(),
                    bgr.constScanLine(y), out.GetRowSize());
    }
    return out;
}
