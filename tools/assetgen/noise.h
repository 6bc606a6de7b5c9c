#pragma once
// Lattice value noise in three dimensions, summed over octaves, with a
// reproducible integer hash in place of a random table.
#include <cstdint>

namespace assetgen {

// Noise in [0, 1) at a point; smooth, with features about one unit apart.
double valueNoise(double x, double y, double z, uint32_t seed);

// Sum of `octaves` layers, each at twice the frequency and half the weight
// of the previous one, normalised to [0, 1).
double fractalNoise(double x, double y, double z, int octaves, uint32_t seed);

// A well-mixed 32-bit hash of three lattice coordinates and a seed.
uint32_t hashLattice(int32_t x, int32_t y, int32_t z, uint32_t seed);

}  // namespace assetgen
