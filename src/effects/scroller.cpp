// The sine scroller: the message as one line of glyphs across the top of
// the frame, moving left 100 pixels per second, bobbing and swaying.
#include "effects/scroller.h"

#include "effects/choreography.h"
#include "effects/glyph_layout.h"
#include "raster/portable_trig.h"

namespace {

constexpr int32_t kGlyphAdvance = 24;
constexpr int32_t kScrollEntry = 640;

// The sway moves a glyph by at most 60 pixels either way around
// base + 50, so x lies in [base - 10, base + 110]. A glyph at x <= -22 or
// x >= the width sets no pixel; characters whose whole x range is there
// are skipped without computing their position (two pixels of margin).
constexpr int32_t kSwayLow = -10 - 2;
constexpr int32_t kSwayHigh = 110 + 2;

}  // namespace

void drawGlyph(char character, int32_t x, int32_t y, Image& destination, const Image& font) {
    const GlyphCell cell = glyphCell(static_cast<signed char>(character));
    if (!cell.exists) return;
    destination.blitKeyed(font, x, y, cell.x, cell.y, kGlyphWidth, kGlyphHeight);
}

void drawScroller(Image& destination, const Image& font, int32_t t, const ScrollText& text) {
    const int32_t start = kScrollEntry - t / kScrollMsPerPixel;
    const int32_t phase = t / kBobMsPerStep;
    const int64_t width = destination.getWidth();
    for (int32_t i = 0; i < kScrollTextSize && text[i] != 0; ++i) {
        const int64_t base = int64_t{start} + int64_t{kGlyphAdvance} * i;
        if (base + kSwayHigh <= -kGlyphWidth) continue;
        // Every later character stands further right: none can be seen.
        if (base + kSwayLow >= width) break;
        const int32_t y = static_cast<int32_t>(30.0 * portableSin(0.25 * (i + phase)) + 50.0);
        const int32_t x =
            static_cast<int32_t>(60.0 * portableCos(0.002 * (t + i)) + (start + kGlyphAdvance * i) + 50.0);
        drawGlyph(text[i], x, y, destination, font);
    }
}
