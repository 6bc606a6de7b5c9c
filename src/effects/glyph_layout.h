#pragma once
// Where each character's glyph lies on the font sheet: one 22 x 24 cell per
// character on a 24-pixel grid. The scroller reads the cells from here and
// the data generator draws the sheet by it.
#include <cstdint>

inline constexpr int32_t kGlyphWidth = 22;
inline constexpr int32_t kGlyphHeight = 24;
inline constexpr int32_t kGlyphGrid = 24;

struct GlyphCell {
    int32_t x = 0;
    int32_t y = 0;
    bool exists = false;
};

// The cell of a character. Ranges are tested on the signed byte, so bytes
// 128..255 have no glyph; neither have the space and the terminating zero.
constexpr GlyphCell glyphCell(signed char c) {
    if (c >= 'a' && c <= 'm') return {kGlyphGrid * (c - 'a'), 0, true};
    if (c >= 'n' && c <= 'z') return {kGlyphGrid * (c - 'n'), kGlyphGrid, true};
    if (c >= '0' && c <= '9') return {kGlyphGrid * (c - '0'), 2 * kGlyphGrid, true};
    switch (c) {
        case '!': return {240, 2 * kGlyphGrid, true};
        case '?': return {264, 2 * kGlyphGrid, true};
        case '-': return {0, 3 * kGlyphGrid, true};
        case '(': return {kGlyphGrid, 3 * kGlyphGrid, true};
        case ')': return {2 * kGlyphGrid, 3 * kGlyphGrid, true};
        case ',': return {3 * kGlyphGrid, 3 * kGlyphGrid, true};
        case '.': return {4 * kGlyphGrid, 3 * kGlyphGrid, true};
        default: return {};
    }
}
