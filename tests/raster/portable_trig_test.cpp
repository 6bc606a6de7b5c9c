// portableSin and portableCos against the reference they reproduce: glibc's
// sin and cos as they run on x86-64 with FMA. Every argument the effects
// compute over the whole timeline is compared bit for bit, then a few
// million others.
#include <gtest/gtest.h>

#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "effects/mesh.h"
#include "effects/wave.h"
#include "raster/double_bits.h"
#include "raster/portable_trig.h"

namespace {

constexpr int32_t kLastMusicTime = 170000;
// The angle steps of the timeline and the wave, as it writes them.
constexpr double kSpinPerMillisecond = 0.0002631578947368421;
constexpr double kRowPhasePerMillisecond = 0.0004;
constexpr double kThird = 0.3333333333333333;
constexpr int32_t kScrollCharacters = 1024;

// The reference holds only where glibc's FMA variant is the one running;
// elsewhere the comparisons are skipped.
#if defined(__GLIBC__) && defined(__x86_64__) && defined(__GNUC__)
#define GLIBC_X86_64 1
#else
#define GLIBC_X86_64 0
#endif

bool referenceAvailable() {
#if GLIBC_X86_64
    return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

#define REQUIRE_REFERENCE() \
    if (!referenceAvailable()) GTEST_SKIP() << "needs glibc's sin/cos on x86-64 with FMA"

std::string hex(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%a (0x%016" PRIx64 ")", v, bitsOf(v));
    return text;
}

// Counts the arguments on which the two functions differ in any bit and
// keeps the first few for the failure message.
class Comparison {
public:
    void sin(double x) { check("sin", x, portableSin(x), std::sin(x)); }
    void cos(double x) { check("cos", x, portableCos(x), std::cos(x)); }
    // GCC turns a sin and a cos of the same angle into one call of glibc's
    // sincos, which takes its own paths; the projection's angles get there.
    void sinCos([[maybe_unused]] double x) {
#if GLIBC_X86_64
        double s = 0.0;
        double c = 0.0;
        ::sincos(x, &s, &c);
        check("sincos: sin", x, portableSin(x), s);
        check("sincos: cos", x, portableCos(x), c);
#endif
    }

    int64_t mismatches() const { return mismatchCount; }
    std::string report() const {
        return std::to_string(mismatchCount) + " of " + std::to_string(calls) + " differ" + firstOnes;
    }

private:
    void check(const char* name, double x, double mine, double reference) {
        ++calls;
        if (bitsOf(mine) == bitsOf(reference)) return;
        if (++mismatchCount <= 8) {
            firstOnes +=
                std::string("\n  ") + name + "(" + hex(x) + "): " + hex(mine) + ", glibc " + hex(reference);
        }
    }

    int64_t calls = 0;
    int64_t mismatchCount = 0;
    std::string firstOnes;
};

// The angles every frame derives from the previous frame's music time;
// before the first frame both start at 1.
struct FrameAngles {
    double spin, rowPhase;
};

template <typename Visit>
void forEveryFrame(Visit visit) {
    visit(FrameAngles{1.0, 1.0});
    for (int32_t t = 0; t <= kLastMusicTime; ++t) {
        visit(FrameAngles{t * kSpinPerMillisecond, t * kRowPhasePerMillisecond});
    }
}

TEST(PortableTrigDemoArguments, MeshBuild) {
    REQUIRE_REFERENCE();
    Comparison c;
    for (int32_t r = 0; r < kMeshSide; ++r) c.sin(r * kThird);
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

TEST(PortableTrigDemoArguments, Scroller) {
    REQUIRE_REFERENCE();
    Comparison c;
    // Bob: 0.25 * (i + t / 100) for every character i and time t; sway:
    // 0.002 * (t + i). Both sums are whole numbers, so every value of them
    // is visited once.
    for (int32_t n = 0; n < kScrollCharacters + kLastMusicTime / 100; ++n) c.sin(0.25 * n);
    for (int32_t n = 0; n < kScrollCharacters + kLastMusicTime; ++n) c.cos(0.002 * n);
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

TEST(PortableTrigDemoArguments, Projection) {
    REQUIRE_REFERENCE();
    Comparison c;
    c.sin(kMeshTilt);
    c.cos(kMeshTilt);
    c.sinCos(kMeshTilt);
    forEveryFrame([&](FrameAngles a) {
        c.sin(a.spin);
        c.cos(a.spin);
        c.sinCos(a.spin);
    });
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

// The wave's sines for one frame with the given amplitude of its period
// terms (5 while calm, 6 when strong). Which form a frame uses depends on
// its own time while the angles come from the frame before, so both forms
// are checked for every frame.
void waveArguments(Comparison& c, FrameAngles a, double amplitude) {
    const double p = 5.0 * a.spin;
    const double q = a.rowPhase;
    c.sin(p * 0.5);
    c.sin(q * 0.5);
    const double pc = amplitude * portableSin(p * 0.5) + 7.0;
    const double pr = amplitude * portableSin(q * 0.5) + 7.0;
    for (int32_t k = 0; k < kMeshSide; ++k) {
        c.sin(p + k / pc);
        c.sin(q + k / pr);
    }
}

TEST(PortableTrigDemoArguments, CalmAndStrongWave) {
    REQUIRE_REFERENCE();
    Comparison calm;
    Comparison strong;
    forEveryFrame([&](FrameAngles a) {
        waveArguments(calm, a, 5.0);
        waveArguments(strong, a, 6.0);
    });
    EXPECT_EQ(calm.mismatches(), 0) << calm.report();
    EXPECT_EQ(strong.mismatches(), 0) << strong.report();
}

// Where there is no FMA instruction (WebAssembly, old x86) the integer
// fused multiply-add runs instead; it must give the bits the instruction
// gives. Run on the projection's angles, the wave's arguments of every
// 16th frame and random angles.
class SoftwareComparison {
public:
    void sin(double x) { check("sin", x, portable_trig_detail::sinWithSoftwareFma(x), portableSin(x)); }
    void cos(double x) { check("cos", x, portable_trig_detail::cosWithSoftwareFma(x), portableCos(x)); }
    int64_t mismatches() const { return mismatchCount; }
    const std::string& report() const { return firstOnes; }

private:
    void check(const char* name, double x, double software, double usual) {
        if (bitsOf(software) == bitsOf(usual)) return;
        if (++mismatchCount <= 8) {
            firstOnes +=
                std::string("\n  ") + name + "(" + hex(x) + "): " + hex(software) + ", usual " + hex(usual);
        }
    }
    int64_t mismatchCount = 0;
    std::string firstOnes;
};

TEST(PortableTrigSoftwareFma, SameBitsAsTheUsualPath) {
    SoftwareComparison c;
    int32_t frame = 0;
    forEveryFrame([&](FrameAngles a) {
        c.sin(a.spin);
        c.cos(a.spin);
        if (frame++ % 16 != 0) return;
        const double p = 5.0 * a.spin;
        const double pc = 5.0 * portableSin(p * 0.5) + 7.0;
        for (int32_t k = 0; k < kMeshSide; ++k) c.sin(p + k / pc);
    });
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> angle(-700.0, 700.0);
    for (int i = 0; i < 200000; ++i) {
        const double x = angle(rng);
        c.sin(x);
        c.cos(x);
    }
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

TEST(PortableTrigOtherArguments, UniformOverTheDemoRange) {
    REQUIRE_REFERENCE();
    Comparison c;
    std::mt19937_64 rng(20260607);
    std::uniform_real_distribution<double> angle(-700.0, 700.0);
    for (int i = 0; i < 1500000; ++i) {
        const double x = angle(rng);
        c.sin(x);
        c.cos(x);
    }
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

// Magnitudes from 2^-40 to 2^26.6 spread evenly over the exponents, which
// puts many more arguments in the paths for small |x| and near pi/2.
TEST(PortableTrigOtherArguments, EveryMagnitudeUpToTheReductionLimit) {
    REQUIRE_REFERENCE();
    Comparison c;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-40.0, 26.65);
    for (int i = 0; i < 1000000; ++i) {
        const double magnitude = std::exp2(exponent(rng));
        const double x = (rng() & 1) ? -magnitude : magnitude;
        c.sin(x);
        c.cos(x);
    }
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

// Both sides of every boundary between methods: 2^-27 and 2^-26, 0.126,
// 0.855469, 2.426265, the reduction limit 105414350; plus signed zeros,
// subnormals and the smallest normal.
TEST(PortableTrigOtherArguments, MethodBoundariesAndTinyValues) {
    REQUIRE_REFERENCE();
    Comparison c;
    constexpr double kReductionLimit = 0x1.921fbp+26;
    const double edges[] = {0x1p-27, 0x1p-26, 0.126, 0x1.b6p-1, 0x1.368fdp+1, kReductionLimit};
    for (double edge : edges) {
        double below = std::nextafter(edge, 0.0);
        double above = edge;
        for (int step = 0; step < 64; ++step) {
            for (double x : {below, -below}) {
                c.sin(x);
                c.cos(x);
            }
            if (above < kReductionLimit) {
                for (double x : {above, -above}) {
                    c.sin(x);
                    c.cos(x);
                }
            }
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, 1e300);
        }
    }
    const double tiny[] = {0.0, -0.0, std::numeric_limits<double>::denorm_min(), 0x1p-1040, DBL_MIN, 1e-300};
    for (double x : tiny) {
        for (double v : {x, -x}) {
            c.sin(v);
            c.cos(v);
        }
    }
    EXPECT_EQ(c.mismatches(), 0) << c.report();
}

TEST(PortableTrigOtherArguments, InfinityAndNanGiveNan) {
    for (double x : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(portableSin(x))) << x;
        EXPECT_TRUE(std::isnan(portableCos(x))) << x;
    }
}

// Past the reduction's range the values only need to be sane: within
// [-1, 1], odd and even like sine and cosine.
TEST(PortableTrigOtherArguments, HugeArgumentsStayInRangeAndKeepSymmetry) {
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> exponent(26.66, 1023.9);
    for (int i = 0; i < 20000; ++i) {
        const double x = std::exp2(exponent(rng));
        const double s = portableSin(x);
        const double co = portableCos(x);
        ASSERT_TRUE(s >= -1.0 && s <= 1.0) << hex(x);
        ASSERT_TRUE(co >= -1.0 && co <= 1.0) << hex(x);
        ASSERT_EQ(portableSin(-x), -s) << hex(x);
        ASSERT_EQ(portableCos(-x), co) << hex(x);
    }
    EXPECT_LE(std::fabs(portableSin(DBL_MAX)), 1.0);
}

}  // namespace
