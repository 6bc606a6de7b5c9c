#pragma once
// The sine scroller: one line of glyphs from the font sheet across the top.
#include <array>
#include <cstdint>

#include "effects/glyph_layout.h"
#include "raster/image.h"


void drawGlyph(char character, int32_t x, int32_t y, Image& destination, const Image& font);
// The buffer of the zero-terminated message the scroller draws.
inline constexpr int32_t kScrollTextSize = 1024;
using ScrollText = std::array<char, kScrollTextSize>;

// The message as it stands at music time t (milliseconds).
void drawScroller(Image& destination, const Image& font, int32_t t, const ScrollText& text);
