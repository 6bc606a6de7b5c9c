#pragma once
// Arithmetic that gives the same bits on every machine: only +, -, *, / and
// sqrt (all exactly rounded in IEEE double), so no result depends on libm.
#include <cstdint>

namespace assetgen {

inline constexpr double kPi = 3.14159265358979323846;

// sin(2 pi turns), by range reduction and a Taylor polynomial (error < 1e-9).
double sineTurns(double turns);

// 2 to the power x, by halving and squaring and a Taylor polynomial (relative error < 1e-12).
double exp2Det(double x);

// log2 of x > 0, bit by bit from repeated squaring (error < 1e-9).
double log2Det(double x);

inline double clampUnit(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// 0 below edge0, 1 above edge1, a smooth cubic step between.
double smoothStep(double edge0, double edge1, double v);

inline double mix(double a, double b, double t) { return a + (b - a) * t; }

// Rounds a value in 0..1 to a colour byte.
uint8_t unitToByte(double v);

// Small, fast and reproducible pseudo-random numbers (xorshift32).
class Random {
public:
    explicit Random(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    uint32_t next();
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 8) * (1.0 / 16777216.0); }
    // Uniform in [-1, 1).
    double signedUnit() { return unit() * 2.0 - 1.0; }
    uint32_t below(uint32_t n) { return next() % n; }

private:
    uint32_t state;
};

}  // namespace assetgen
