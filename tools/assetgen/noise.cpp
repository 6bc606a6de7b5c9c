#include "noise.h"

#include <cmath>

#include "det_math.h"

namespace assetgen {

uint32_t hashLattice(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    uint32_t h = seed * 0x9e3779b1u;
    h ^= static_cast<uint32_t>(x) * 0x85ebca6bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xc2b2ae35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<uint32_t>(z) * 0x27d4eb2fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

namespace {

double latticeValue(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return static_cast<double>(hashLattice(x, y, z, seed) >> 8) * (1.0 / 16777216.0);
}

double fade(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

double valueNoise(double x, double y, double z, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy), iz = static_cast<int32_t>(fz);
    const double tx = fade(x - fx), ty = fade(y - fy), tz = fade(z - fz);
    double corners[2][2];
    for (int dz = 0; dz < 2; ++dz) {
        for (int dy = 0; dy < 2; ++dy) {
            const double a = latticeValue(ix, iy + dy, iz + dz, seed);
            const double b = latticeValue(ix + 1, iy + dy, iz + dz, seed);
            corners[dz][dy] = mix(a, b, tx);
        }
    }
    return mix(mix(corners[0][0], corners[0][1], ty), mix(corners[1][0], corners[1][1], ty), tz);
}

double fractalNoise(double x, double y, double z, int octaves, uint32_t seed) {
    double sum = 0.0, weight = 1.0, total = 0.0, scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * valueNoise(x * scale, y * scale, z * scale, seed + static_cast<uint32_t>(i));
        total += weight;
        weight *= 0.5;
        scale *= 2.0;
    }
    return sum / total;
}

}  // namespace assetgen
