// exactFma against glibc's fma, which is correctly rounded on every CPU.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "raster/double_bits.h"
#include "raster/exact_fma.h"

namespace {

#if defined(__GLIBC__)
#define REQUIRE_REFERENCE()
#else
#define REQUIRE_REFERENCE() GTEST_SKIP() << "needs glibc's fma as the reference"
#endif

class FmaComparison {
public:
    void check(double a, double b, double c) {
        ++calls;
        const double mine = exactFma(a, b, c);
        const double reference = std::fma(a, b, c);
        if (bitsOf(mine) == bitsOf(reference) || (std::isnan(mine) && std::isnan(reference))) return;
        if (++mismatches <= 8) {
            char line[160];
            std::snprintf(line, sizeof line, "\n  fma(%a, %a, %a): %a, glibc %a", a, b, c, mine, reference);
            firstOnes += line;
        }
    }
    int64_t mismatchCount() const { return mismatches; }
    std::string report() const {
        return std::to_string(mismatches) + " of " + std::to_string(calls) + " differ" + firstOnes;
    }

private:
    int64_t calls = 0;
    int64_t mismatches = 0;
    std::string firstOnes;
};

// Operands like the trigonometry's: products and addends of similar size,
// addends that nearly or exactly cancel the product, and addends shifted
// by up to 70 binary places either way (past the 20 places below which
// the alignment is exact, so the sticky bit decides the rounding).
TEST(ExactFma, MatchesGlibcOnNearbyAndCancellingOperands) {
    REQUIRE_REFERENCE();
    FmaComparison f;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 400000; ++i) {
        const double a = unit(rng);
        const double b = unit(rng);
        f.check(a, b, unit(rng));
        f.check(a, b, -(a * b));
        f.check(a, b, -(a * b) * (1.0 + unit(rng) * 0x1p-30));
        f.check(a, b, std::ldexp(unit(rng), static_cast<int>(rng() % 141) - 70));
    }
    EXPECT_EQ(f.mismatchCount(), 0) << f.report();
}

// Random bit patterns: every exponent, subnormal operands and results,
// overflow, infinities and nans.
TEST(ExactFma, MatchesGlibcOnArbitraryBitPatterns) {
    REQUIRE_REFERENCE();
    FmaComparison f;
    std::mt19937_64 rng(9);
    for (int i = 0; i < 400000; ++i) f.check(fromBits(rng()), fromBits(rng()), fromBits(rng()));
    // Products near the bottom of the range, so results fall among the subnormals.
    for (int i = 0; i < 200000; ++i) {
        const double a = fromBits((rng() & 0x800fffffffffffff) | (uint64_t{400 + rng() % 200} << 52));
        const double b = fromBits((rng() & 0x800fffffffffffff) | (uint64_t{400 + rng() % 200} << 52));
        f.check(a, b, fromBits(rng() & 0x800fffffffffffff));
        f.check(a, b, -(a * b));
    }
    EXPECT_EQ(f.mismatchCount(), 0) << f.report();
}

// Exact halfway cases go to the even neighbour, one step past them does not.
TEST(ExactFma, TiesRoundToEven) {
    const double a = 1.0 + 0x1p-27;
    const double b = 1.0 - 0x1p-27;  // a * b = 1 - 2^-54 exactly
    EXPECT_EQ(exactFma(a, b, 0x1p-54 + 0x1p-53), 1.0);
    EXPECT_EQ(exactFma(a, b, 0x1p-54 + 0x1p-52 + 0x1p-53), 1.0 + 0x1p-51);
    EXPECT_EQ(exactFma(a, b, 0x1p-54 + 0x1p-53 + 0x1p-80), 1.0 + 0x1p-52);
    EXPECT_EQ(exactFma(a, b, -1.0), -0x1p-54);
}

}  // namespace
