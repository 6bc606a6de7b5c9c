// Row converters from 0x00RRGGBB into the display surface layouts;
// multi-byte values are stored little-endian. Each layout has a per-pixel
// form, which converts the row's last few pixels and is the whole converter
// where SSE2 is missing, and with SSE2 a loop over blocks of pixels that
// gives exactly the same bytes.
#include "display/converters.h"

#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/pixel_copy.h"

namespace {

inline void store16(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
}

inline void store24(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
    d[2] = static_cast<uint8_t>(v >> 16);
}

inline void store32(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
    d[2] = static_cast<uint8_t>(v >> 16);
    d[3] = static_cast<uint8_t>(v >> 24);
}

// Red and blue exchanged, the top byte cleared.
inline uint32_t swapRedBlue(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

inline uint32_t toRgb565(uint32_t p) {
    return ((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F);
}
inline uint32_t toBgr565(uint32_t p) {
    return ((p >> 19) & 0x001F) | ((p >> 5) & 0x07E0) | ((p & 0xF8) << 8);
}
inline uint32_t toRgb555(uint32_t p) {
    return ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F);
}
inline uint32_t toBgr555(uint32_t p) {
    return ((p >> 19) & 0x001F) | ((p >> 6) & 0x03E0) | ((p & 0xF8) << 7);
}

#if defined(__SSE2__)
inline __m128i load4(const uint32_t* s) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)); }
inline void storeBytes16(uint8_t* d, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v); }

// swapRedBlue of four pixels: with the two 16-bit halves of every pixel
// exchanged, red and blue stand where the other was.
inline __m128i swapRedBlue4(__m128i p) {
    const __m128i halvesSwapped = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p, 0xB1), 0xB1);
    return _mm_or_si128(_mm_and_si128(halvesSwapped, _mm_set1_epi32(0x00FF00FF)),
                        _mm_and_si128(p, _mm_set1_epi32(0x0000FF00)));
}

// Sixteen pixels as 48 bytes, the low three bytes of each in order. In every
// 64-bit half the two pixels first close up to six bytes (bits 0..47); the
// eight halves then join into six words of output.
inline void storeLow3Bytes16(uint8_t* d, __m128i x0, __m128i x1, __m128i x2, __m128i x3) {
    const __m128i first = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
    const __m128i second =
        _mm_set_epi32(0x0000FFFF, static_cast<int>(0xFF000000), 0x0000FFFF, static_cast<int>(0xFF000000));
    auto closeUp = [&](__m128i x) {
        return _mm_or_si128(_mm_and_si128(x, first), _mm_and_si128(_mm_srli_epi64(x, 8), second));
    };
    const __m128i y0 = closeUp(x0), y1 = closeUp(x1), y2 = closeUp(x2), y3 = closeUp(x3);
    // Halves h0..h7 of 48 bits each: a = (h0, h4), b = (h1, h5), c = (h2, h6), e = (h3, h7).
    const __m128i a = _mm_unpacklo_epi64(y0, y2);
    const __m128i b = _mm_unpackhi_epi64(y0, y2);
    const __m128i c = _mm_unpacklo_epi64(y1, y3);
    const __m128i e = _mm_unpackhi_epi64(y1, y3);
    // Output words: (w0, w3), (w1, w4), (w2, w5).
    const __m128i w03 = _mm_or_si128(a, _mm_slli_epi64(b, 48));
    const __m128i w14 = _mm_or_si128(_mm_srli_epi64(b, 16), _mm_slli_epi64(c, 32));
    const __m128i w25 = _mm_or_si128(_mm_srli_epi64(c, 32), _mm_slli_epi64(e, 16));
    storeBytes16(d, _mm_unpacklo_epi64(w03, w14));
    storeBytes16(d + 16, _mm_castpd_si128(_mm_move_sd(_mm_castsi128_pd(w03), _mm_castsi128_pd(w25))));
    storeBytes16(d + 32, _mm_unpackhi_epi64(w14, w25));
}

// The two 16-bit halves of eight pixels, each half in pixel order: the low
// halves (green and blue) and the high halves (top byte and red). The
// arithmetic shifts keep every value in the signed 16-bit range, so the
// saturating packs are exact.
inline void splitHalves8(const uint32_t* s, __m128i& low, __m128i& high) {
    const __m128i x0 = load4(s), x1 = load4(s + 4);
    low = _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(x0, 16), 16),
                          _mm_srai_epi32(_mm_slli_epi32(x1, 16), 16));
    high = _mm_packs_epi32(_mm_srai_epi32(x0, 16), _mm_srai_epi32(x1, 16));
}

// A 16-bit layout as three fields taken from the pixel halves: (half << left)
// or (half >> right) under a mask. kRedFirst: red is the top field.
template <bool kRedFirst, int kTopShift, int kGreenShift, uint16_t kTopMask, uint16_t kGreenMask>
inline __m128i pack16(__m128i low, __m128i high) {
    const __m128i green =
        _mm_and_si128(_mm_srli_epi16(low, kGreenShift), _mm_set1_epi16(static_cast<short>(kGreenMask)));
    __m128i top, bottom;
    if constexpr (kRedFirst) {
        top = _mm_and_si128(_mm_slli_epi16(high, kTopShift), _mm_set1_epi16(static_cast<short>(kTopMask)));
        bottom = _mm_and_si128(_mm_srli_epi16(low, 3), _mm_set1_epi16(0x001F));
    } else {
        top = _mm_and_si128(_mm_slli_epi16(low, kTopShift), _mm_set1_epi16(static_cast<short>(kTopMask)));
        bottom = _mm_and_si128(_mm_srli_epi16(high, 3), _mm_set1_epi16(0x001F));
    }
    return _mm_or_si128(_mm_or_si128(top, green), bottom);
}

// Converts eight pixels at a time with pack16, the rest one by one.
template <uint32_t (*kOne)(uint32_t), bool kRedFirst, int kTopShift, int kGreenShift, uint16_t kTopMask,
          uint16_t kGreenMask>
void convertRow16(const uint32_t* s, uint8_t* d, uint32_t count) {
    uint32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i low, high;
        splitHalves8(s + i, low, high);
        storeBytes16(d + 2 * i, pack16<kRedFirst, kTopShift, kGreenShift, kTopMask, kGreenMask>(low, high));
    }
    for (; i < count; ++i) store16(d + 2 * i, kOne(s[i]));
}
#else
template <uint32_t (*kOne)(uint32_t)>
void convertRow16(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) store16(d + 2 * i, kOne(s[i]));
}
#endif

}  // namespace

void convertRowXrgb32(const uint32_t* s, uint8_t* d, uint32_t count) {
    // The little-endian bytes of every pixel are the pixel words as they lie in memory.
    if constexpr (std::endian::native == std::endian::little) {
        copyPixelWords(d, s, count);
    } else {
        for (uint32_t i = 0; i < count; ++i) store32(d + 4 * i, s[i]);
    }
}

void convertRowXbgr32(const uint32_t* s, uint8_t* d, uint32_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen pixels a step, all loaded before any is stored: the compiler
    // may not move a load above a store that could reach the same memory,
    // and loads and stores taken in turn measured about 1.4 times slower.
    for (; i + 16 <= count; i += 16) {
        const __m128i a = load4(s + i), b = load4(s + i + 4), c = load4(s + i + 8), e = load4(s + i + 12);
        storeBytes16(d + 4 * i, swapRedBlue4(a));
        storeBytes16(d + 4 * i + 16, swapRedBlue4(b));
        storeBytes16(d + 4 * i + 32, swapRedBlue4(c));
        storeBytes16(d + 4 * i + 48, swapRedBlue4(e));
    }
#endif
    for (; i < count; ++i) store32(d + 4 * i, swapRedBlue(s[i]));
}

void convertRowRgb24(const uint32_t* s, uint8_t* d, uint32_t count) {
    uint32_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16)
        storeLow3Bytes16(d + 3 * i, load4(s + i), load4(s + i + 4), load4(s + i + 8), load4(s + i + 12));
#endif
    for (; i < count; ++i) store24(d + 3 * i, s[i]);
}

void convertRowBgr24(const uint32_t* s, uint8_t* d, uint32_t count) {
    uint32_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16) {
        storeLow3Bytes16(d + 3 * i, swapRedBlue4(load4(s + i)), swapRedBlue4(load4(s + i + 4)),
                         swapRedBlue4(load4(s + i + 8)), swapRedBlue4(load4(s + i + 12)));
    }
#endif
    for (; i < count; ++i) store24(d + 3 * i, swapRedBlue(s[i]));
}

#if defined(__SSE2__)
// Red from the high half's low byte, green and blue from the low half.
void convertRowRgb565(const uint32_t* s, uint8_t* d, uint32_t count) {
    convertRow16<toRgb565, true, 8, 5, 0xF800, 0x07E0>(s, d, count);
}
void convertRowBgr565(const uint32_t* s, uint8_t* d, uint32_t count) {
    convertRow16<toBgr565, false, 8, 5, 0xF800, 0x07E0>(s, d, count);
}
void convertRowRgb555(const uint32_t* s, uint8_t* d, uint32_t count) {
    convertRow16<toRgb555, true, 7, 6, 0x7C00, 0x03E0>(s, d, count);
}
void convertRowBgr555(const uint32_t* s, uint8_t* d, uint32_t count) {
    convertRow16<toBgr555, false, 7, 6, 0x7C00, 0x03E0>(s, d, count);
}
#else
void convertRowRgb565(const uint32_t* s, uint8_t* d, uint32_t count) { convertRow16<toRgb565>(s, d, count); }
void convertRowBgr565(const uint32_t* s, uint8_t* d, uint32_t count) { convertRow16<toBgr565>(s, d, count); }
void convertRowRgb555(const uint32_t* s, uint8_t* d, uint32_t count) { convertRow16<toRgb555>(s, d, count); }
void convertRowBgr555(const uint32_t* s, uint8_t* d, uint32_t count) { convertRow16<toBgr555>(s, d, count); }
#endif

RowConverter selectRowConverter(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    struct Layout {
        uint32_t bitCount, red, green, blue;
        RowConverter converter;
    };
    static constexpr Layout kLayouts[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, convertRowXrgb32}, {32, 0xFF, 0xFF00, 0xFF0000, convertRowXbgr32},
        {24, 0xFF0000, 0xFF00, 0xFF, convertRowRgb24},  {24, 0xFF, 0xFF00, 0xFF0000, convertRowBgr24},
        {16, 0xF800, 0x07E0, 0x001F, convertRowRgb565}, {16, 0x001F, 0x07E0, 0xF800, convertRowBgr565},
        {16, 0x7C00, 0x03E0, 0x001F, convertRowRgb555}, {16, 0x001F, 0x03E0, 0x7C00, convertRowBgr555},
    };
    for (const Layout& l : kLayouts) {
        if (l.bitCount == bitCount && l.red == redMask && l.green == greenMask && l.blue == blueMask) {
            return l.converter;
        }
    }
    return nullptr;
}
