#include "rgba_frame.h"

#include <cstddef>

void convertToRgba(const Image& frame, uint8_t* rgba) {
    const size_t count = static_cast<size_t>(frame.getWidth()) * static_cast<size_t>(frame.getHeight());
    const uint32_t* pixels = frame.getPixels();
    for (size_t i = 0; i < count; ++i) {
        const uint32_t word = pixels[i];
        rgba[4 * i] = static_cast<uint8_t>(word >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(word >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(word);
        rgba[4 * i + 3] = 0xFF;
    }
}
