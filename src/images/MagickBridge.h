#pragma once

#include "pixels/BTCImageData.h"

#include <Magick++.h>

#include <cstdint>
#include <string>

namespace images {

// The largest image we agree to decode, in pixels: GraphicsMagick refuses anything larger
// before it reserves memory for the pixels. Every image is fitted into 256 x 256 anyway.
inline constexpr std::int64_t kMaxDecodedPixels = std::int64_t{64} << 20;

// Starts GraphicsMagick on first use, once, from whichever thread comes first, and bounds
// what it will allocate: sides to BTCImageData::kMaxSide, an image to kMaxDecodedPixels, and
// its pixel memory to what that many pixels take, with no spilling to disk. Every path into
// GraphicsMagick calls this, so no caller has to remember it.
void EnsureMagick();

// A GraphicsMagick image holding the pixels of a loaded image.
Magick::Image ToMagick(const BTCImageData& image);

// Exports any GraphicsMagick image as 24-bit BGR into out (alpha dropped). Fails, leaving
// out untouched, for an empty image or one with a side above BTCImageData::kMaxSide.
bool FromMagick(Magick::Image& image, BTCImageData& out);

// GraphicsMagick's message without its "Magick: " lead, its "reported by" source location and
// an empty "()" where it had no detail to give.
std::string MagickMessage(const std::exception& e);

} // namespace images
