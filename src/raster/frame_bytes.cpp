#include "raster/frame_bytes.h"

#include <bit>

const uint8_t* littleEndianBytes(const Image& picture, uint8_t* scratch) {
    const uint32_t* pixels = picture.getPixels();
    if constexpr (std::endian::native == std::endian::little) {
        return reinterpret_cast<const uint8_t*>(pixels);
    }
    const size_t count = littleEndianByteCount(picture) / 4;
    for (size_t k = 0; k < count; ++k) {
        for (int b = 0; b < 4; ++b) scratch[4 * k + b] = static_cast<uint8_t>(pixels[k] >> (8 * b));
    }
    return scratch;
}
