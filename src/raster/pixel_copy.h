#pragma once
// Copies pixel words as they lie in memory: the background into the frame
// and the frame into a display surface of the same layout.
#include <cstdint>

// Copies count pixel words from source to destination (any alignment; the
// two do not overlap).
void copyPixelWords(void* destination, const uint32_t* source, int64_t count);
