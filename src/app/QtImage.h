#pragma once

#include "images/BTCImageData.h"

#include <QImage>

// A deep copy of a 24-bit image as a QImage; a null QImage for an image without pixels.
QImage ToQImage(const BTCImageData& image);
