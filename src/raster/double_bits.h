#pragma once
// The 64 bits of a double and back (memcpy rather than std::bit_cast: older
// Emscripten's libc++ lacks it).
#include <cstdint>
#include <cstring>

inline uint64_t bitsOf(double x) {
    uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

inline double fromBits(uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}
