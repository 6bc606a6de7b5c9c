#include "rgb_image.h"

#include "det_math.h"

namespace assetgen {

Rgb RgbImage::get(int x, int y) const {
    const size_t o = offset(x, y);
    return {bytes[o], bytes[o + 1], bytes[o + 2]};
}

void RgbImage::set(int x, int y, Rgb c) {
    const size_t o = offset(x, y);
    bytes[o] = c.r;
    bytes[o + 1] = c.g;
    bytes[o + 2] = c.b;
}

void RgbImage::add(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const size_t o = offset(x, y);
    const uint8_t add[3] = {c.r, c.g, c.b};
    for (int i = 0; i < 3; ++i) {
        const int sum = bytes[o + i] + add[i];
        bytes[o + i] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
    }
}

Rgb rgbFromUnit(double r, double g, double b) { return {unitToByte(r), unitToByte(g), unitToByte(b)}; }

}  // namespace assetgen
