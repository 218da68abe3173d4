#pragma once

#include "images/BTCImageData.h"

#include <Magick++.h>

#include <string>

namespace images {

// Starts GraphicsMagick on first use, once, from whichever thread comes first, and bounds
// the image sides it will allocate to BTCImageData::kMaxSide. Every path into GraphicsMagick
// calls this, so no caller has to remember it.
void EnsureMagick();

// A GraphicsMagick image holding the pixels of a loaded image.
Magick::Image ToMagick(const BTCImageData& image);

// Exports any GraphicsMagick image as 24-bit BGR into out (alpha dropped). Fails, leaving
// out untouched, for an empty image or one with a side above BTCImageData::kMaxSide.
bool FromMagick(Magick::Image& image, BTCImageData& out);

// GraphicsMagick's message without its "Magick: " lead and "reported by" source location.
std::string MagickMessage(const std::exception& e);

} // namespace images
