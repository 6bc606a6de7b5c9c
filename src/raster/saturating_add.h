#pragma once
// The additive blend of light: per byte, saturating at 255, in the low three
// bytes (red, green, blue); the destination's top byte stays as it is. The
// blend of whole images and the flares both add their rows with it.
#include <cstdint>

// Adds n source pixels onto n destination pixels.
void addRowSaturated(uint32_t* destination, const uint32_t* source, int64_t n);
