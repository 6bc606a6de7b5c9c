#include "det_math.h"

#include <cmath>

namespace assetgen {

double sineTurns(double turns) {
    double r = turns - std::floor(turns);  // floor is exact
    if (r >= 0.5) r -= 1.0;                // r in [-0.5, 0.5)
    double a = r * (2.0 * kPi);            // a in [-pi, pi)
    if (a > kPi / 2.0) a = kPi - a;
    if (a < -kPi / 2.0) a = -kPi - a;  // a in [-pi/2, pi/2]
    const double a2 = a * a;
    // Horner form of a - a^3/3! + a^5/5! - ... - a^15/15!
    double sum = -1.0 / 1307674368000.0;
    sum = sum * a2 + 1.0 / 6227020800.0;
    sum = sum * a2 - 1.0 / 39916800.0;
    sum = sum * a2 + 1.0 / 362880.0;
    sum = sum * a2 - 1.0 / 5040.0;
    sum = sum * a2 + 1.0 / 120.0;
    sum = sum * a2 - 1.0 / 6.0;
    sum = sum * a2 + 1.0;
    return sum * a;
}

double exp2Det(double x) {
    const double whole = std::floor(x);
    // e^(f ln 2) for f in [0, 1): a Taylor series on a sixteenth of the range, squared four times.
    const double a = (x - whole) * 0.69314718055994530942 / 16.0;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 10; ++n) {
        term = term * a / n;
        sum += term;
    }
    for (int i = 0; i < 4; ++i) sum *= sum;
    double scale = 1.0;
    for (double w = whole; w > 0.0; w -= 1.0) scale *= 2.0;
    for (double w = whole; w < 0.0; w += 1.0) scale *= 0.5;
    return sum * scale;
}

double log2Det(double x) {
    double whole = 0.0;
    while (x >= 2.0) {
        x *= 0.5;
        whole += 1.0;
    }
    while (x < 1.0) {
        x *= 2.0;
        whole -= 1.0;
    }
    double fraction = 0.0, bit = 0.5;
    for (int i = 0; i < 40; ++i, bit *= 0.5) {
        x *= x;
        if (x >= 2.0) {
            x *= 0.5;
            fraction += bit;
        }
    }
    return whole + fraction;
}

double smoothStep(double edge0, double edge1, double v) {
    const double t = clampUnit((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

uint8_t unitToByte(double v) { return static_cast<uint8_t>(clampUnit(v) * 255.0 + 0.5); }

uint32_t Random::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace assetgen
