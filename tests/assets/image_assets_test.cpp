// The raw images as the demo loads them: sizes, the font sheet's cells and
// transparency, the flares' edges and centre, the backdrop after darkening.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "raster/image.h"
#include "support/files.h"

namespace {

int brightness(uint32_t pixel) { return ((pixel >> 16) & 0xff) + ((pixel >> 8) & 0xff) + (pixel & 0xff); }
int strongestChannel(uint32_t pixel) {
    return static_cast<int>(std::max({(pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff}));
}

TEST(ImageAssets, FilesHaveTheSizesTheDriverReads) {
    EXPECT_EQ(readBytes("welt.raw").size(), 921600u);
    EXPECT_EQ(readBytes("flare.raw").size(), 3072u);
    EXPECT_EQ(readBytes("flare2.raw").size(), 432u);
    EXPECT_EQ(readBytes("font.raw").size(), 96000u);
}

// The scroller's glyph table: every character that has a cell, and where.
struct GlyphCell {
    char character;
    int x, y;
};

std::vector<GlyphCell> glyphTable() {
    std::vector<GlyphCell> cells;
    for (char c = 'a'; c <= 'm'; ++c) cells.push_back({c, 24 * (c - 'a'), 0});
    for (char c = 'n'; c <= 'z'; ++c) cells.push_back({c, 24 * (c - 'n'), 24});
    for (char c = '0'; c <= '9'; ++c) cells.push_back({c, 24 * (c - '0'), 48});
    cells.push_back({'!', 240, 48});
    cells.push_back({'?', 264, 48});
    const std::string marks = "-(),.";
    for (size_t i = 0; i < marks.size(); ++i) cells.push_back({marks[i], 24 * static_cast<int>(i), 72});
    return cells;
}

std::vector<uint32_t> cellPixels(const Image& sheet, const GlyphCell& cell) {
    std::vector<uint32_t> out;
    for (int y = cell.y; y < cell.y + 24; ++y)
        for (int x = cell.x; x < cell.x + 22; ++x) out.push_back(sheet.getPixels()[y * 320 + x]);
    return out;
}

TEST(FontSheet, EveryGlyphCellHoldsADistinctGlyphWithBrightInkAndDarkOutline) {
    const Image sheet(320, 100, "font.raw");
    std::vector<std::vector<uint32_t>> seen;
    for (const GlyphCell& cell : glyphTable()) {
        SCOPED_TRACE(std::string("glyph ") + cell.character);
        const std::vector<uint32_t> pixels = cellPixels(sheet, cell);
        int ink = 0, outline = 0;
        for (uint32_t p : pixels) {
            if (strongestChannel(p) >= 160)
                ++ink;
            else if (p != 0 && strongestChannel(p) < 96)
                ++outline;
        }
        EXPECT_GE(ink, 24);
        EXPECT_GE(outline, 16);
        for (const auto& other : seen) EXPECT_NE(pixels, other);
        seen.push_back(pixels);
    }
}

TEST(FontSheet, EverythingOutsideTheGlyphCellsIsTransparent) {
    const Image sheet(320, 100, "font.raw");
    std::vector<bool> inCell(320 * 100, false);
    for (const GlyphCell& cell : glyphTable())
        for (int y = cell.y; y < cell.y + 24; ++y)
            for (int x = cell.x; x < cell.x + 22; ++x) inCell[static_cast<size_t>(y * 320 + x)] = true;
    int strayPixels = 0;
    for (int i = 0; i < 320 * 100; ++i)
        if (!inCell[static_cast<size_t>(i)] && sheet.getPixels()[i] != 0) ++strayPixels;
    EXPECT_EQ(strayPixels, 0);
}

void expectFlareShape(const char* name, int size) {
    SCOPED_TRACE(name);
    const Image flare(size, size, name);
    const uint32_t* p = flare.getPixels();
    for (int i = 0; i < size; ++i) {
        EXPECT_EQ(p[i], 0u);                      // top row
        EXPECT_EQ(p[(size - 1) * size + i], 0u);  // bottom row
        EXPECT_EQ(p[i * size], 0u);               // left column
        EXPECT_EQ(p[i * size + size - 1], 0u);    // right column
    }
    const int centre = brightness(p[(size / 2) * size + size / 2]);
    int brightest = 0, lit = 0;
    for (int i = 0; i < size * size; ++i) {
        brightest = std::max(brightest, brightness(p[i]));
        if (p[i] != 0) ++lit;
    }
    EXPECT_EQ(centre, brightest);
    EXPECT_GE(centre, 3 * 240);       // a white-hot core
    EXPECT_GT(lit, size * size / 3);  // a halo, not a dot
}

TEST(Flares, FallToZeroAtTheEdgesAndPeakAtTheCentre) {
    expectFlareShape("flare.raw", 32);
    expectFlareShape("flare2.raw", 12);
}

TEST(Backdrop, KeepsItsTopRowDarkAndStillShowsAfterTheStartUpDarkening) {
    Image backdrop(640, 480, "welt.raw");
    for (int x = 0; x < 640; ++x) EXPECT_EQ(backdrop.getPixels()[x], 0u) << "x " << x;
    backdrop.darken(50);
    int visible = 0, glaring = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        const int b = brightness(backdrop.getPixels()[i]);
        if (b >= 3 * 16) ++visible;
        if (b >= 3 * 160) ++glaring;
    }
    // The planet and the stars still read, yet little of the picture is so
    // bright that the white lines and flares would vanish against it.
    EXPECT_GT(visible, 640 * 480 / 6);
    EXPECT_LT(glaring, 640 * 480 / 50);
}

}  // namespace
