#pragma once

#include "images/BTCImageData.h"

#include <QImage>

// A deep copy of a 24-bit image as a QImage; a null QImage for an image without pixels.
QImage ToQImage(const BTCImageData& image);
// Any QImage as a 24-bit image, alpha dropped; an image without pixels for a null QImage or
// one with a side above BTCImageData::kMaxSide.
BTCImageData FromQImage(const QImage& image);
