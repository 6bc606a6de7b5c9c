#pragma once
// A picture's pixel words as little-endian bytes, 4 per pixel, row after
// row: the bytes of `demo_capture --raw` files, and what the frame hashes
// are taken of.
#include <cstddef>
#include <cstdint>

#include "raster/image.h"

inline size_t littleEndianByteCount(const Image& picture) {
    return size_t{4} * static_cast<size_t>(picture.getWidth()) * static_cast<size_t>(picture.getHeight());
}

// The bytes of picture: its own pixels where the machine is little-endian,
// else scratch (littleEndianByteCount bytes) filled with them.
const uint8_t* littleEndianBytes(const Image& picture, uint8_t* scratch);
