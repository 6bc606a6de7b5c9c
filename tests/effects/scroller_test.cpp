#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effects/scroller.h"

namespace {

// Every pixel of the sheet names its own position: (y + 1) << 16 | (x + 1).
// No pixel is 0, so every glyph cell is fully opaque.
void fillPositionSheet(Image& font) {
    for (int32_t y = 0; y < font.getHeight(); ++y)
        for (int32_t x = 0; x < font.getWidth(); ++x)
            font.getPixels()[y * font.getWidth() + x] = uint32_t(y + 1) << 16 | uint32_t(x + 1);
}

uint32_t sheetPixel(int32_t x, int32_t y) { return uint32_t(y + 1) << 16 | uint32_t(x + 1); }

uint32_t at(const Image& image, int32_t x, int32_t y) {
    return image.getPixels()[y * image.getWidth() + x];
}

bool isBlank(const Image& image) {
    for (int32_t i = 0; i < image.getWidth() * image.getHeight(); ++i)
        if (image.getPixels()[i] != 0) return false;
    return true;
}

class Scroller : public ::testing::Test {
protected:
    Scroller() : font(320, 100), frame(640, 480) { fillPositionSheet(font); }
    void setText(const char* message) {
        text.fill(0);
        std::strncpy(text.data(), message, text.size() - 1);
    }
    Image font, frame;
    ScrollText text{};
};

TEST_F(Scroller, GlyphTable) {
    const struct {
        char c;
        int32_t x, y;
    } cells[] = {{'a', 0, 0},    {'m', 288, 0},  {'n', 0, 24},   {'z', 288, 24}, {'0', 0, 48},
                 {'9', 216, 48}, {'!', 240, 48}, {'?', 264, 48}, {'-', 0, 72},   {'(', 24, 72},
                 {')', 48, 72},  {',', 72, 72},  {'.', 96, 72},  {'q', 72, 24},  {'e', 96, 0}};
    for (const auto& cell : cells) {
        Image glyph(22, 24);
        drawGlyph(cell.c, 0, 0, glyph, font);
        EXPECT_EQ(at(glyph, 0, 0), sheetPixel(cell.x, cell.y)) << "'" << cell.c << "'";
        EXPECT_EQ(at(glyph, 21, 23), sheetPixel(cell.x + 21, cell.y + 23)) << "'" << cell.c << "'";
    }
}

TEST_F(Scroller, CharactersWithoutAGlyphDrawNothing) {
    for (int32_t code = -128; code <= 127; ++code) {
        const char c = static_cast<char>(code);
        const bool hasGlyph = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                              std::strchr("!?-(),.", c) != nullptr;
        if (hasGlyph || c == 0) continue;
        Image glyph(22, 24);
        drawGlyph(c, 0, 0, glyph, font);
        EXPECT_TRUE(isBlank(glyph)) << "byte " << code;
    }
}

TEST_F(Scroller, PlacementsAtOneSecond) {
    setText("aa");
    drawScroller(frame, font, 1000, text);
    EXPECT_EQ(at(frame, 565, 67), sheetPixel(0, 0));
    EXPECT_EQ(at(frame, 564, 67), 0u);
    EXPECT_EQ(at(frame, 565, 66), 0u);
    EXPECT_EQ(at(frame, 586, 90), sheetPixel(21, 23));
    EXPECT_EQ(at(frame, 588, 61), sheetPixel(0, 0));
    EXPECT_EQ(at(frame, 587, 61), 0u);
}

TEST_F(Scroller, PlacementTruncatesTowardZero) {
    // At 12345 ms index 0 stands at x = -489, wholly outside, and index 20
    // at x = -8 (from -8.8), y = 22: cell columns 8..21 land in columns 0..13.
    setText("a                   a");
    drawScroller(frame, font, 12345, text);
    EXPECT_EQ(at(frame, 0, 22), sheetPixel(8, 0));
    EXPECT_EQ(at(frame, 13, 45), sheetPixel(21, 23));
    EXPECT_EQ(at(frame, 14, 22), 0u);
    EXPECT_EQ(at(frame, 0, 21), 0u);
    EXPECT_EQ(at(frame, 0, 46), 0u);
}

TEST_F(Scroller, StartsBeyondTheRightEdge) {
    setText("abcdefgh");
    drawScroller(frame, font, 0, text);
    EXPECT_TRUE(isBlank(frame));  // index 0 at x = 750
}

TEST_F(Scroller, EmptyMessageDrawsNothing) {
    setText("");
    drawScroller(frame, font, 20000, text);
    EXPECT_TRUE(isBlank(frame));
}

// Every character placed and drawn, with no shortcut for the ones that
// cannot reach the frame.
void referenceScroller(Image& destination, const Image& font, int32_t t, const ScrollText& text) {
    const int32_t start = 640 - t / 10;
    for (int32_t i = 0; text[i] != 0; ++i) {
        const int32_t y = static_cast<int32_t>(30.0 * std::sin(0.25 * (i + t / 100)) + 50.0);
        const int32_t x =
            static_cast<int32_t>(60.0 * std::cos(0.002 * (t + i)) + (start + 24 * i) + 50.0);
        drawGlyph(text[i], x, y, destination, font);
    }
}

TEST_F(Scroller, SameFrameAsPlacingEveryCharacter) {
    char message[600] = {};
    const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789!?-(),. ";
    for (int32_t i = 0; i < 599; ++i) message[i] = alphabet[(i * 7) % (sizeof alphabet - 1)];
    setText(message);
    // The glyphs cover rows 20 to 103 only.
    Image band(640, 110), reference(640, 110);
    for (int32_t t = 0; t < 150000; t += 37) {
        band.fill(0);
        reference.fill(0);
        drawScroller(band, font, t, text);
        referenceScroller(reference, font, t, text);
        ASSERT_EQ(0, std::memcmp(band.getPixels(), reference.getPixels(), 640 * 110 * 4))
            << "time " << t;
    }
}

}  // namespace
