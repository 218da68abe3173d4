#pragma once

#include "pixels/BTCImageData.h"
#include "pixels/PageSide.h"

// Shrinks w x h into maxW x maxH keeping the aspect ratio; a size that fits is left alone.
// The arithmetic is the editor's own: the ratio division first, then + 0.5 and truncation,
// so a side of a very thin image can come out as 0 (callers keep it at 1).
void FitImageSize(int maxW, int maxH, int& w, int& h);

// Converts an image into a texture: fitted into kPageSide x kPageSide (a side that would round to 0
// stays 1) and resampled bilinearly to that size. An image that already fits keeps every
// pixel. Returns false, leaving the image as it was, when it holds no pixels or cannot be
// resampled.
bool FitTexture(BTCImageData& image);
