#pragma once
// The smear behind Image::blurRows, on a raw pixel array of row width W.
#include <cstdint>

// Writes linear indices first to end - 1: each becomes the sum of the
// quartered pixels i - W, i - 1, i + 1 and i + W (per byte, rounded down),
// where i - W and i - 1 already hold this pass's results. The caller keeps
// every neighbour inside the array.
void smearBand(uint32_t* pixels, int64_t W, int64_t first, int64_t end);
