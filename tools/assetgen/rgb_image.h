#pragma once
// A 24-bit RGB picture as the demo's raw image files store it: no header,
// rows from the top, 3 bytes (red, green, blue) per pixel.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

class RgbImage {
public:
    RgbImage(int width, int height)
        : w(width), h(height), bytes(static_cast<size_t>(width * height * 3), 0) {}
    int width() const { return w; }
    int height() const { return h; }
    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb c);
    // Adds with saturation per channel.
    void add(int x, int y, Rgb c);
    const std::vector<uint8_t>& raw() const { return bytes; }

private:
    size_t offset(int x, int y) const { return (static_cast<size_t>(y) * w + x) * 3; }
    int w, h;
    std::vector<uint8_t> bytes;
};

// Colour from channel intensities in 0..1.
Rgb rgbFromUnit(double r, double g, double b);

}  // namespace assetgen
