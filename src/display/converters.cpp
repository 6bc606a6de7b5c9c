// Row converters from 0x00RRGGBB into the display surface layouts. One
// straight loop each; multi-byte values are stored little-endian.
#include "display/converters.h"

namespace {

inline void store16(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
}

inline void store32(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
    d[2] = static_cast<uint8_t>(v >> 16);
    d[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace

void convertRowXrgb32(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) store32(d + 4 * i, s[i]);
}

void convertRowXbgr32(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        store32(d + 4 * i, ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
    }
}

void convertRowRgb24(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        d[3 * i] = static_cast<uint8_t>(p);
        d[3 * i + 1] = static_cast<uint8_t>(p >> 8);
        d[3 * i + 2] = static_cast<uint8_t>(p >> 16);
    }
}

void convertRowBgr24(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        d[3 * i] = static_cast<uint8_t>(p >> 16);
        d[3 * i + 1] = static_cast<uint8_t>(p >> 8);
        d[3 * i + 2] = static_cast<uint8_t>(p);
    }
}

void convertRowRgb565(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        store16(d + 2 * i, ((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
    }
}

void convertRowBgr565(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        store16(d + 2 * i, ((p >> 19) & 0x001F) | ((p >> 5) & 0x07E0) | ((p & 0xF8) << 8));
    }
}

void convertRowRgb555(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        store16(d + 2 * i, ((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
    }
}

void convertRowBgr555(const uint32_t* s, uint8_t* d, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t p = s[i];
        store16(d + 2 * i, ((p >> 19) & 0x001F) | ((p >> 6) & 0x03E0) | ((p & 0xF8) << 7));
    }
}

RowConverter selectRowConverter(uint32_t bitCount, uint32_t redMask, uint32_t greenMask, uint32_t blueMask) {
    struct Layout {
        uint32_t bitCount, red, green, blue;
        RowConverter converter;
    };
    static constexpr Layout kLayouts[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, convertRowXrgb32},
        {32, 0xFF, 0xFF00, 0xFF0000, convertRowXbgr32},
        {24, 0xFF0000, 0xFF00, 0xFF, convertRowRgb24},
        {24, 0xFF, 0xFF00, 0xFF0000, convertRowBgr24},
        {16, 0xF800, 0x07E0, 0x001F, convertRowRgb565},
        {16, 0x001F, 0x07E0, 0xF800, convertRowBgr565},
        {16, 0x7C00, 0x03E0, 0x001F, convertRowRgb555},
        {16, 0x001F, 0x03E0, 0x7C00, convertRowBgr555},
    };
    for (const Layout& l : kLayouts) {
        if (l.bitCount == bitCount && l.red == redMask && l.green == greenMask && l.blue == blueMask) {
            return l.converter;
        }
    }
    return nullptr;
}
