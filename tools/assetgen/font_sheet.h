#pragma once
// The scroller's glyph sheet: 320 x 100 pixels, one 22 x 24 cell per
// character on a 24-pixel grid, 0 (transparent) everywhere outside the glyphs.
#include <optional>

#include "effects/glyph_layout.h"
#include "scene/data_files.h"
#include "rgb_image.h"

namespace assetgen {

inline constexpr int kFontSheetWidth = kFontFile.width;
inline constexpr int kFontSheetHeight = kFontFile.height;
inline constexpr int kGlyphCellWidth = kGlyphWidth;
inline constexpr int kGlyphCellHeight = kGlyphHeight;

struct CellCorner {
    int x, y;
};

// Top-left corner of a character's cell, where the scroller looks for it.
std::optional<CellCorner> glyphCell(char c);

RgbImage makeFontSheet();

}  // namespace assetgen
