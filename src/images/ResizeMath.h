#pragma once

#include "pixels/BTCImageData.h"

// How a texture is resized: Stretch repeats or drops whole pixels, so no new colour appears;
// Bilinear blends neighbouring pixels.
enum class ResizeFilter { Stretch, Bilinear };

struct TextureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TextureSize&, const TextureSize&) = default;
};

// With proportions kept, the side that goes with a given one, from the texture's own size
// (originalWidth x originalHeight), truncated toward zero. Worked out exactly rather than
// through a rounded ratio, so that a side equal to the texture's own gives back the other side
// unchanged.
int HeightForWidth(int width, int originalWidth, int originalHeight);
int WidthForHeight(int height, int originalWidth, int originalHeight);

// The size a width x height texture takes when a range is resized into a box. The box is first
// fitted into 256 x 256. Without keepAspect the texture takes the box's size; with it, the
// largest size of its own proportions inside the box (growing when smaller), a side that would
// be 0 kept at 1.
TextureSize RangeTargetSize(int width, int height, int boxWidth, int boxHeight, bool keepAspect);

// Resizes the texture to width x height with the filter. Returns false, leaving it as it was,
// for an empty texture or size.
bool ResizeTexture(BTCImageData& texture, int width, int height, ResizeFilter filter);
