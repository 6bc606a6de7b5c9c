#include "test_pattern.h"

uint32_t patternPixel(int32_t x, int32_t y) {
    const uint32_t red = static_cast<uint32_t>(x) & 0xFF;
    const uint32_t green = static_cast<uint32_t>(y) & 0xFF;
    const uint32_t blue = static_cast<uint32_t>(x * 5 + y * 3) & 0xFF;
    const uint32_t top = ((x >> 3) & 1) != 0 ? 0xFF000000u : 0;
    return top | red << 16 | green << 8 | blue;
}

namespace {

uint8_t keepBits(uint32_t value, int bits) {
    const uint32_t kept = value >> (8 - bits);
    return static_cast<uint8_t>(kept * 255 / ((1u << bits) - 1));
}

}  // namespace

Rgb shownColour(uint32_t pixel, int redBits, int greenBits, int blueBits) {
    return Rgb{keepBits((pixel >> 16) & 0xFF, redBits), keepBits((pixel >> 8) & 0xFF, greenBits),
               keepBits(pixel & 0xFF, blueBits)};
}
