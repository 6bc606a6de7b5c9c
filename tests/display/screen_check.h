#pragma once
// Comparisons of a screenshot with the test pattern.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "test_pattern.h"

struct Screenshot {
    std::vector<Rgb> pixels;
    int32_t width = 0;
    Rgb at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Pixels of the 640x480 area at (left, top) that differ from the pattern as a
// screen with the given channel depths shows it.
int64_t patternMismatches(const Screenshot& shot, int32_t left, int32_t top, int redBits, int greenBits,
                          int blueBits);

// Pixels of the area that are not the pattern scaled nearest-neighbour to the
// area's size; a pixel may come from a source pixel one step off the exact
// mapping, as the rounding at the edges of source pixels may go either way.
int64_t stretchedPatternMismatches(const Screenshot& shot, int32_t left, int32_t top, int32_t width,
                                   int32_t height);

int64_t nonBlackPixels(const Screenshot& shot, int32_t left, int32_t top, int32_t width, int32_t height);
