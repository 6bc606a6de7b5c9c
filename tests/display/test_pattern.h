#pragma once
// The fixed picture that the back-end probe presents, and what a screen of a
// given depth shows of it.
#include <cstdint>

constexpr int32_t kPatternWidth = 640;
constexpr int32_t kPatternHeight = 480;

// 0xTTRRGGBB: every red value along a row, every green value down a column,
// neighbours always different, and a top byte of 0xFF in every other 8-pixel
// column, which must never show (it is no alpha).
uint32_t patternPixel(int32_t x, int32_t y);

// A pixel's colour as 8-bit R, G, B read back from a screen whose pixels keep
// the top redBits, greenBits and blueBits of each channel. The screenshot tool
// (ImageMagick's import) widens a kept value k of n bits to k x 255 / (2^n - 1),
// rounded down.
struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
Rgb shownColour(uint32_t pixel, int redBits, int greenBits, int blueBits);
