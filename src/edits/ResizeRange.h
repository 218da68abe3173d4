#pragma once

#include "document/SpriteWad.h"
#include "images/ResizeMath.h"

#include <cstddef>

// One target for a run of textures: the box each is resized into and how.
struct RangeResize {
    int boxWidth = 0;
    int boxHeight = 0;
    bool keepAspect = false;
    ResizeFilter filter = ResizeFilter::Stretch;
};

// Resizes lines start..stop (both included) of the object's textures, in that order, each to
// RangeTargetSize of the box with the request's filter. Nothing happens when start is above
// stop; lines outside the object are skipped. Returns how many textures were resized.
int ResizeTextureRange(SpriteWad& wad, std::size_t object, int start, int stop,
                       const RangeResize& request);
