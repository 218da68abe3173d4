#include "app/QtImage.h"

#include "pixels/MagentaCheckerboard.h"

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

QImage ToPreviewImage(const BTCImageData& image, bool magentaAsCheckerboard) {
    QImage shown = ToQImage(image);
    if (!magentaAsCheckerboard) {
        return shown;
    }
    for (int y = 0; y < shown.height(); ++y) {
        uchar* pixel = shown.scanLine(y);
        for (int x = 0; x < shown.width(); ++x, pixel += 3) {
            if (checkerboard::IsMagenta(pixel)) {
                pixel[0] = pixel[1] = pixel[2] = checkerboard::Level(x, y);
            }
        }
    }
    return shown;
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
