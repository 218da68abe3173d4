#pragma once

#include "pixels/BTCImageData.h"

#include <QImage>

// A deep copy of a 24-bit image as a QImage; a null QImage for an image without pixels.
QImage ToQImage(const BTCImageData& image);

// The image as the preview shows it; with magentaAsCheckerboard, pixels of exactly magenta
// (0xFF00FF) are drawn as a light checkerboard, the way paint programs show transparency.
QImage ToPreviewImage(const BTCImageData& image, bool magentaAsCheckerboard);

// Any QImage as a 24-bit image, alpha dropped; an image without pixels for a null QImage or
// one with a side above BTCImageData::kMaxSide.
BTCImageData FromQImage(const QImage& image);
