#include "app/QtImage.h"

QImage ToQImage(const BTCImageData& image) {
    if (!image.IsLoaded()) {
        return {};
    }
    // Rows are packed tightly: the row length must be given, or Qt assumes 4-byte rows.
    const QImage view(image.GetBits(), image.GetWidth(), image.GetHeight(),
                      static_cast<qsizetype>(image.GetRowSize()), QImage::Format_BGR888);
    return view.copy();
}
