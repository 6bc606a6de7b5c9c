#include "font_sheet.h"

#include <cstring>

#include "det_math.h"
#include "font_glyphs.h"

namespace assetgen {

namespace {

constexpr int kScale = 2;
// The scaled design (20 x 22) sits one pixel in from the cell's corner, which
// leaves room for the one-pixel outline inside the cell.
constexpr int kInset = 1;
constexpr Rgb kOutline = {28, 14, 52};

// A cell's pixels: 0 outside, 1 outline, 2 ink.
using CellMask = unsigned char[kGlyphCellHeight][kGlyphCellWidth];

void inkFromDesign(const GlyphDesign& design, CellMask& mask) {
    for (int y = 0; y < kGlyphCellHeight; ++y) {
        for (int x = 0; x < kGlyphCellWidth; ++x) {
            const int dx = (x - kInset) / kScale, dy = (y - kInset) / kScale;
            const bool inside = x >= kInset && y >= kInset && dx < kGlyphDesignWidth && dy < kGlyphDesignHeight;
            mask[y][x] = inside && design.rows[dy][dx] == '#' ? 2 : 0;
        }
    }
}

bool touchesInk(const CellMask& mask, int x, int y) {
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int nx = x + ox, ny = y + oy;
            if (nx >= 0 && ny >= 0 && nx < kGlyphCellWidth && ny < kGlyphCellHeight && mask[ny][nx] == 2) return true;
        }
    }
    return false;
}

void addOutline(CellMask& mask) {
    for (int y = 0; y < kGlyphCellHeight; ++y)
        for (int x = 0; x < kGlyphCellWidth; ++x)
            if (mask[y][x] == 0 && touchesInk(mask, x, y)) mask[y][x] = 1;
}

// Ink runs from pale gold at the top through orange to a deep red, with a
// brighter rim on the upper and left edges of every stroke.
Rgb inkColour(const CellMask& mask, int x, int y) {
    const double t = static_cast<double>(y - kInset) / (kGlyphDesignHeight * kScale - 1);
    double r = 1.0, g = mix(0.96, 0.30, t), b = mix(0.62, 0.10, t);
    if (t > 0.5) r = mix(1.0, 0.78, (t - 0.5) * 2.0);
    const bool rim = mask[y - 1][x] != 2 || mask[y][x - 1] != 2;
    if (rim) {
        g = mix(g, 1.0, 0.45);
        b = mix(b, 0.95, 0.45);
    }
    return rgbFromUnit(r, g, b);
}

void drawGlyph(RgbImage& sheet, const GlyphDesign& design, CellCorner corner) {
    CellMask mask;
    inkFromDesign(design, mask);
    addOutline(mask);
    for (int y = 0; y < kGlyphCellHeight; ++y) {
        for (int x = 0; x < kGlyphCellWidth; ++x) {
            if (mask[y][x] == 1) sheet.set(corner.x + x, corner.y + y, kOutline);
            if (mask[y][x] == 2) sheet.set(corner.x + x, corner.y + y, inkColour(mask, x, y));
        }
    }
}

}  // namespace

std::optional<CellCorner> glyphCell(char c) {
    const GlyphCell cell = ::glyphCell(static_cast<signed char>(c));
    if (!cell.exists) return std::nullopt;
    return CellCorner{cell.x, cell.y};
}

RgbImage makeFontSheet() {
    RgbImage sheet(kFontSheetWidth, kFontSheetHeight);
    for (const GlyphDesign& design : glyphDesigns()) {
        const std::optional<CellCorner> corner = glyphCell(design.character);
        if (corner) drawGlyph(sheet, design, *corner);
    }
    return sheet;
}

}  // namespace assetgen
