#include "flare.h"

#include <cmath>

#include "det_math.h"

namespace assetgen {

namespace {

// Intensity at distance d from the centre of a flare whose halo ends at
// `reach`: a sharp core of a quarter of that radius inside a soft halo.
struct FlareLight {
    double core;
    double halo;
};

FlareLight flareLight(double d, double reach) {
    const double h = clampUnit(1.0 - d / reach);
    const double c = clampUnit(1.0 - d / (reach * 0.3));
    return {c * c, h * h * h};
}

}  // namespace

RgbImage makeFlare(int size) {
    RgbImage img(size, size);
    const int centre = size / 2;
    // The nearest edge pixel lies size - 1 - centre away; the halo ends there.
    const double reach = static_cast<double>(size - 1 - centre);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x - centre, dy = y - centre;
            const FlareLight l = flareLight(std::sqrt(dx * dx + dy * dy), reach);
            img.set(
                x, y,
                rgbFromUnit(l.core + l.halo * 0.95, l.core + l.halo * 0.62, l.core * 0.9 + l.halo * 0.30));
        }
    }
    return img;
}

}  // namespace assetgen
