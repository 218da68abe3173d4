#pragma once

#include "pixels/BTCImageData.h"

#include <QImage>

#include <array>

// A deep copy of a 24-bit image as a QImage; a null QImage for an image without pixels.
QImage ToQImage(const BTCImageData& image);

// The image as the preview shows it: each pixel a `zoom` x `zoom` square (nearest neighbour,
// never blended) from the top-left corner, cut off at the 256 x 256 frame. With
// magentaAsCheckerboard, pixels of exactly magenta (0xFF00FF) are drawn as a light
// checkerboard of the frame's pixels, the way paint programs show transparency.
QImage ToPreviewImage(const BTCImageData& image, bool magentaAsCheckerboard, int zoom = 1);

// The zoom choices of the preview, as its menu lists them: a whole factor, or kZoomToFit.
inline constexpr int kZoomToFit = 0;
inline constexpr std::array<int, 5> kZoomChoices = {1, 2, 4, 8, kZoomToFit};
// The factor a choice draws a width x height image at: the choice itself, or for kZoomToFit
// the largest that keeps the image inside the frame, at least 1.
int PreviewZoomFactor(int choice, int width, int height);

// Any QImage as a 24-bit image, alpha dropped; an image without pixels for a null QImage or
// one with a side above BTCImageData::kMaxSide.
BTCImageData FromQImage(const QImage& image);
