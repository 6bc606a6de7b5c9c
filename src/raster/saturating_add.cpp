#include "raster/saturating_add.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// One pixel without carries between the bytes: the low seven bits of each
// byte add in place, the top bits are put back by hand, and a byte that
// overflowed is set to 255.
inline uint32_t addSaturatedRgb(uint32_t d, uint32_t s) {
    s &= 0x00FFFFFF;
    const uint32_t low = (d & 0x7F7F7F7F) + (s & 0x7F7F7F7F);
    const uint32_t sum = low ^ ((d ^ s) & 0x80808080);  // each byte mod 256
    const uint32_t overflow = ((d & s) | ((d | s) & ~sum)) & 0x80808080;
    return sum | ((overflow >> 7) * 0xFF);
}

}  // namespace

void addRowSaturated(uint32_t* d, const uint32_t* s, int64_t n) {
    int64_t c = 0;
#if defined(__SSE2__)
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    for (; c + 4 <= n; c += 4) {
        const __m128i src = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + c)), rgb);
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + c));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + c), _mm_adds_epu8(dst, src));
    }
#endif
    for (; c < n; ++c) d[c] = addSaturatedRgb(d[c], s[c]);
}
