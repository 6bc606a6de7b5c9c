#pragma once
// The sine scroller: one line of glyphs from the font sheet across the top.
#include <cstdint>
#include "raster/image.h"

inline constexpr int32_t kGlyphWidth = 22;
inline constexpr int32_t kGlyphHeight = 24;

void drawGlyph(char character, int32_t x, int32_t y, Image& destination, const Image& font);
// Reads musicTime and scrollText.
void drawScroller(Image& destination, const Image& font);
