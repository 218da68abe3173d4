#pragma once

#include "images/BTCImageData.h"

#include <string_view>

// The two filters of the resize dialogs, as the index of their filter list.
enum ResizeFilter {
    kStretchFilter = 0,
    kBilinearFilter = 1,
};

struct TextureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TextureSize&, const TextureSize&) = default;
};

// A size field's text read as a whole number while the user types: its leading digits, 0 when
// it starts with none. Numbers too long for an int read as the largest int.
int ReadTypedNumber(std::string_view text);

// With proportions kept, the side that follows the one being typed, from the texture's size
// when the dialog opened (originalWidth x originalHeight), truncated toward zero. Worked out
// exactly rather than through a rounded ratio, so that a side typed equal to the texture's own
// gives back the other side unchanged.
int HeightForWidth(int width, int originalWidth, int originalHeight);
int WidthForHeight(int height, int originalWidth, int originalHeight);

// The size a width x height texture takes when a range is resized into a box. The box is first
// fitted into 256 x 256. Without keepAspect the texture takes the box's size; with it, the
// largest size of its own proportions inside the box (growing when smaller), a side that would
// be 0 kept at 1.
TextureSize RangeTargetSize(int width, int height, int boxWidth, int boxHeight, bool keepAspect);

// Scales the texture to width x height by repeating or dropping whole rows and columns, so no
// new colour appears. Returns false, leaving it as it was, for an empty texture or size.
bool StretchTexture(BTCImageData& texture, int width, int height);
// StretchTexture for kStretchFilter, the bilinear resize for any other filter.
bool ResizeTexture(BTCImageData& texture, int width, int height, int filter);
