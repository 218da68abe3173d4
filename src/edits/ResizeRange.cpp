#include "edits/ResizeRange.h"

#include "images/ResizeMath.h"

#include <algorithm>

int ResizeTextureRange(SpriteWad& wad, std::size_t object, int start, int stop,
                       const RangeResize& request) {
    const int count = wad.m_sequences.at(object).TextureCount();
    int resized = 0;
    for (int line = std::max(start, 0); line <= std::min(stop, count - 1); ++line) {
        SpriteTexture& texture = wad.ObjectTexture(object, line);
        const TextureSize size =
            RangeTargetSize(texture.GetWidth(), texture.GetHeight(), request.boxWidth,
                            request.boxHeight, request.keepAspect);
        if (ResizeTexture(texture, size.width, size.height, request.filter)) {
            ++resized;
        }
    }
    return resized;
}
