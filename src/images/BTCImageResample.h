#pragma once

#include "pixels/BTCImageData.h"

// Resampling through GraphicsMagick. Each fails, leaving the image as it was, for an image
// without pixels or a size outside 1..BTCImageData::kMaxSide.

// Bilinear resampling to exactly width x height.
bool ResampleBilinear(BTCImageData& image, int width, int height);
// Nearest-neighbour scaling to exactly width x height: whole pixels are repeated or dropped,
// no colour is mixed.
bool ResampleNearest(BTCImageData& image, int width, int height);
