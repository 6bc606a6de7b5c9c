// With SSE2 the words go through a loop of 16-byte loads and stores: the
// C library's memcpy of rows of a few KB takes a string-move path on some
// x86 CPUs that becomes many times slower when source and destination lie
// at the same offset in their pages, so the frame's speed would depend on
// where the allocator or the display put its buffers. In WebAssembly the
// memcpy is the engine's own bulk copy and stays.
#include "raster/pixel_copy.h"

#include <cstring>

#if defined(__SSE2__) && !defined(__EMSCRIPTEN__)
#include <emmintrin.h>
#define PIXEL_COPY_SSE2 1
#else
#define PIXEL_COPY_SSE2 0
#endif

void copyPixelWords(void* destination, const uint32_t* source, int64_t count) {
    if (count <= 0) return;
    auto* d = static_cast<uint8_t*>(destination);
    int64_t i = 0;
#if PIXEL_COPY_SSE2
    // Sixteen words a step, all loaded before any is stored.
    for (; i + 16 <= count; i += 16) {
        const auto* s = reinterpret_cast<const __m128i*>(source + i);
        const __m128i a = _mm_loadu_si128(s), b = _mm_loadu_si128(s + 1);
        const __m128i c = _mm_loadu_si128(s + 2), e = _mm_loadu_si128(s + 3);
        auto* out = reinterpret_cast<__m128i*>(d + 4 * i);
        _mm_storeu_si128(out, a);
        _mm_storeu_si128(out + 1, b);
        _mm_storeu_si128(out + 2, c);
        _mm_storeu_si128(out + 3, e);
    }
#endif
    // The rest: at most 15 words with SSE2, too few for the slow path.
    if (i < count) std::memcpy(d + 4 * i, source + i, static_cast<size_t>(count - i) * sizeof(uint32_t));
}
