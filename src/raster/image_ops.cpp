// The pixel operations that compose a frame. Integer arithmetic only; bounds
// are computed in 64 bits so that no position can overflow.
#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/image.h"
#include "raster/pixel_copy.h"
#include "raster/saturating_add.h"
#include "raster/smear.h"

namespace {

// A clipped rectangle: columns [c0, n) and rows [r0, m), relative to the
// position where the source lands.
struct Span {
    int64_t c0, n, r0, m;
    bool empty() const { return c0 >= n || r0 >= m; }
};

// Clips a w x h block placed at (x, y) against a W x H destination.
Span clipToDestination(int64_t x, int64_t y, int64_t w, int64_t h, int64_t W, int64_t H) {
    Span s{0, w, 0, h};
    if (x + w >= W) s.n = W - x;
    if (y + h >= H) s.m = H - y;
    if (x < 0) s.c0 = -x;
    if (y < 0) s.r0 = -y;
    return s;
}

}  // namespace

void Image::fill(uint32_t value) {
    if (width <= 0 || height <= 0) return;
    std::fill_n(pixels, static_cast<size_t>(width) * static_cast<size_t>(height), value);
}

void Image::copyOpaque(const Image& src, int32_t x, int32_t y) {
    const int64_t sw = src.getWidth();
    const Span s = clipToDestination(x, y, sw, src.getHeight(), width, height);
    if (s.empty()) return;
    for (int64_t r = s.r0; r < s.m; ++r) {
        copyPixelWords(pixels + (y + r) * width + x + s.c0, src.getPixels() + r * sw + s.c0, s.n - s.c0);
    }
}

void Image::addBlend(const Image& src, int32_t x, int32_t y) {
    const int64_t sw = src.getWidth();
    const int64_t sh = src.getHeight();
    if (x + sw < 0 || y + sh < 0 || x >= width || y >= height) return;
    const Span s = clipToDestination(x, y, sw, sh, width, height);
    for (int64_t r = s.r0; r < s.m; ++r) {
        uint32_t* d = pixels + (y + r) * width + x;
        const uint32_t* p = src.getPixels() + r * sw;
        addRowSaturated(d + s.c0, p + s.c0, s.n - s.c0);
    }
}

void Image::blitKeyed(const Image& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY, int32_t w,
                      int32_t h) {
    if (int64_t{dstX} + w < 0 || int64_t{dstY} + h < 0 || dstX >= width || dstY >= height) return;
    Span s = clipToDestination(dstX, dstY, w, h, width, height);
    // The rectangle is also clipped to the source, so no read leaves it.
    const int64_t sw = src.getWidth();
    s.c0 = std::max<int64_t>(s.c0, -int64_t{srcX});
    s.n = std::min<int64_t>(s.n, sw - srcX);
    s.r0 = std::max<int64_t>(s.r0, -int64_t{srcY});
    s.m = std::min<int64_t>(s.m, int64_t{src.getHeight()} - srcY);
    for (int64_t r = s.r0; r < s.m; ++r) {
        uint32_t* d = pixels + (dstY + r) * width + dstX;
        const uint32_t* p = src.getPixels() + (srcY + r) * sw + srcX;
        for (int64_t c = s.c0; c < s.n; ++c) {
            // 0 and every value with bit 31 set are transparent.
            if (static_cast<int32_t>(p[c]) > 0) d[c] = p[c];
        }
    }
}

void Image::blurRows(int32_t top, int32_t bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height);
    // Written: linear indices from (top + 1) * W up to (bottom - 1) * W - 3,
    // that is rows top + 1 to bottom - 3 and row bottom - 2 but its last two.
    const int64_t W = width;
    smearBand(pixels, W, (int64_t{top} + 1) * W, (int64_t{bottom} - 1) * W - 2);
}

void Image::darken(int32_t amount) {
    if (amount < 0 || width <= 0 || height <= 1) return;
    // Row 0 is left as it is.
    const uint8_t k = static_cast<uint8_t>(std::min(amount, 255));
    uint8_t* bytes = reinterpret_cast<uint8_t*>(pixels + width);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height - 1) * 4;
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time (WebAssembly's compiler does not vectorise the loop below).
    const __m128i by = _mm_set1_epi8(static_cast<char>(k));
    for (; i + 16 <= count; i += 16) {
        __m128i* at = reinterpret_cast<__m128i*>(bytes + i);
        _mm_storeu_si128(at, _mm_subs_epu8(_mm_loadu_si128(at), by));
    }
#endif
    for (; i < count; ++i) bytes[i] = bytes[i] > k ? static_cast<uint8_t>(bytes[i] - k) : 0;
}
