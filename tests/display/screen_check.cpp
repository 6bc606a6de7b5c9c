#include "screen_check.h"

#include <algorithm>

int64_t patternMismatches(const Screenshot& shot, int32_t left, int32_t top, int redBits, int greenBits,
                          int blueBits) {
    int64_t mismatches = 0;
    for (int32_t y = 0; y < kPatternHeight; ++y) {
        for (int32_t x = 0; x < kPatternWidth; ++x) {
            if (!(shot.at(left + x, top + y) ==
                  shownColour(patternPixel(x, y), redBits, greenBits, blueBits))) {
                ++mismatches;
            }
        }
    }
    return mismatches;
}

namespace {

bool nearPatternPixel(Rgb seen, int32_t sourceX, int32_t sourceY) {
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            const int32_t x = std::clamp(sourceX + dx, 0, kPatternWidth - 1);
            const int32_t y = std::clamp(sourceY + dy, 0, kPatternHeight - 1);
            if (seen == shownColour(patternPixel(x, y), 8, 8, 8)) return true;
        }
    }
    return false;
}

}  // namespace

int64_t stretchedPatternMismatches(const Screenshot& shot, int32_t left, int32_t top, int32_t width,
                                   int32_t height) {
    int64_t mismatches = 0;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sourceY =
            static_cast<int32_t>((2 * int64_t{y} + 1) * kPatternHeight / (2 * int64_t{height}));
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sourceX =
                static_cast<int32_t>((2 * int64_t{x} + 1) * kPatternWidth / (2 * int64_t{width}));
            if (!nearPatternPixel(shot.at(left + x, top + y), sourceX, sourceY)) ++mismatches;
        }
    }
    return mismatches;
}

int64_t nonBlackPixels(const Screenshot& shot, int32_t left, int32_t top, int32_t width, int32_t height) {
    int64_t count = 0;
    for (int32_t y = top; y < top + height; ++y) {
        for (int32_t x = left; x < left + width; ++x) {
            if (!(shot.at(x, y) == Rgb{0, 0, 0})) ++count;
        }
    }
    return count;
}
