#include "formats/PixelSwap.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define VORNIX_HAVE_SSSE3_PATH 1
#endif

void CopySwappingRedBluePortable(std::uint8_t* to, const std::uint8_t* from, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i, to += 3, from += 3) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
    }
}

#ifdef VORNIX_HAVE_SSSE3_PATH
namespace {

// Five pixels per 16-byte shuffle. The 16th byte written is the first byte of the next pixel,
// unswapped; the loop only runs while a sixth pixel follows, so that byte is always rewritten
// by the next step and no byte outside either buffer is read or written.
__attribute__((target("ssse3"))) void
CopySwappingRedBlueSsse3(std::uint8_t* to, const std::uint8_t* from, std::size_t pixels) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    while (pixels >= 6) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_shuffle_epi8(v, order));
        to += 15;
        from += 15;
        pixels -= 5;
    }
    CopySwappingRedBluePortable(to, from, pixels);
}

} // namespace
#endif

void CopySwappingRedBlue(std::uint8_t* to, const std::uint8_t* from, std::size_t pixels) {
#ifdef VORNIX_HAVE_SSSE3_PATH
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) {
        CopySwappingRedBlueSsse3(to, from, pixels);
        return;
    }
#endif
    CopySwappingRedBluePortable(to, from, pixels);
}
