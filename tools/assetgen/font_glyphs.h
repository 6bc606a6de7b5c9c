#pragma once
// The letter forms of the scroller's font: bold capitals, digits and a few
// marks, each drawn on a 10 x 11 grid ('#' is ink) with strokes two wide.
#include <span>

namespace assetgen {

inline constexpr int kGlyphDesignWidth = 10;
inline constexpr int kGlyphDesignHeight = 11;

struct GlyphDesign {
    char character;
    const char* rows[kGlyphDesignHeight];
};

std::span<const GlyphDesign> glyphDesigns();

}  // namespace assetgen
