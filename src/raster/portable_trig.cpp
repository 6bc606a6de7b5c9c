#include "raster/portable_trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "raster/double_bits.h"
#include "raster/exact_fma.h"
#include "raster/sincos_table.h"

namespace {

// Taylor coefficients of sin for small arguments, -1/3!, 1/5!, ... -1/11!
// (the higher ones tuned for |x| < 0.126).
constexpr double kS1 = -0x1.5555555555555p-3;
constexpr double kS2 = 0x1.1111111110ECEp-7;
constexpr double kS3 = -0x1.A01A019DB08B8p-13;
constexpr double kS4 = 0x1.71DE27B9A7ED9p-19;
constexpr double kS5 = -0x1.ADDFFC2FCDF59p-26;

// Short polynomials for sin and 1 - cos of the small offset from a table
// point (|offset| <= 1/256).
constexpr double kSn3 = -0x1.5555555555515p-3;
constexpr double kSn5 = 0x1.11110e829872fp-7;
constexpr double kCs2 = 0x1.0p-1;
constexpr double kCs4 = -0x1.5555555555535p-5;
constexpr double kCs6 = 0x1.6c16bedd9e239p-10;

// The ulp of kTableRound is 1/128: adding it to 0 <= v < 2^24 rounds v to
// a multiple of 1/128 and leaves that multiple, times 128, in the low word.
constexpr double kTableRound = 0x1.8p45;
// The same with ulp 1: the low word of t + kIntRound is round(t).
constexpr double kIntRound = 0x1.8p52;

// pi/2 as a high and a low double.
constexpr double kHalfPiHigh = 0x1.921FB54442D18p0;
constexpr double kHalfPiLow = 0x1.1A62633145C07p-54;
constexpr double kTwoOverPi = 0x1.45F306DC9C883p-1;
// pi/2 in four parts for the reduction: the first two have few enough bits
// that n times them is exact for the n in range; the other two continue.
constexpr double kHalfPi1 = 0x1.921FB58000000p0;
constexpr double kHalfPi2 = -0x1.DDE973C000000p-27;
constexpr double kHalfPi3 = -0x1.CB3B398000000p-55;
constexpr double kHalfPi4 = -0x1.d747f23e32ed7p-83;

// Bounds on the high word of |x| (sign bit cleared) that select a method.
constexpr uint32_t kSinTiny = 0x3e500000;     // 2^-26: sin x = x
constexpr uint32_t kCosTiny = 0x3e400000;     // 2^-27: cos x = 1
constexpr uint32_t kNearZero = 0x3feb6000;    // 0.855469: no reduction
constexpr uint32_t kNearHalfPi = 0x400368fd;  // 2.426265: pi/2 - |x| in one step
constexpr uint32_t kReducible = 0x419921FB;   // 105414350: the three-part reduction
constexpr uint32_t kInfinite = 0x7ff00000;

constexpr double kSmallSin = 0.126;

uint32_t highWord(double x) { return static_cast<uint32_t>(bitsOf(x) >> 32); }
uint32_t lowWord(double x) { return static_cast<uint32_t>(bitsOf(x)); }

// The table point nearest |x| (a multiple of 1/128) and |x| minus it.
struct TablePoint {
    const SinCosEntry* entry;
    double offset;
};

TablePoint nearestTablePoint(double x) {
    const double u = kTableRound + std::fabs(x);
    return {&kSinCosTable[lowWord(u)], std::fabs(x) - (u - kTableRound)};
}

// The algorithm, written once for each way of fusing a multiply and an
// add; Fma::apply(a, b, c) must return a * b + c rounded once. Everything
// is inlined into the entry points so that, in the copy compiled for the
// FMA instruction, the instruction lands in the code instead of a call.
#if defined(__GNUC__)
#define TRIG_INLINE __attribute__((always_inline)) inline
#else
#define TRIG_INLINE inline
#endif
template <typename Fma>
struct Trig {
    TRIG_INLINE static double fma(double a, double b, double c) { return Fma::apply(a, b, c); }

    // sin(x + dx) for |x| < 0.855469 and |dx| far below an ulp of x. The
    // order of operations and every fused multiply-add are those of the
    // reference, because each one can move the last bit.
    TRIG_INLINE static double sinNearZero(double x, double dx) {
        if (std::fabs(x) < kSmallSin) {
            const double xx = x * x;
            const double poly = fma(fma(fma(fma(kS5, xx, kS4), xx, kS3), xx, kS2), xx, kS1);
            return x + fma(xx, fma(poly, x, -(0.5 * dx)), dx);
        }
        // sin(p + h) = sin p + (cos p sin h - sin p (1 - cos h)), with p the
        // table point and h the small remainder; the low parts of the table
        // values and dx go into the correction.
        if (x <= 0) dx = -dx;
        const TablePoint p = nearestTablePoint(x);
        const double h = p.offset;
        const double hh = h * h;
        const double s = h + fma(h * hh, fma(hh, kSn5, kSn3), dx);
        const double c = fma(h, dx, hh * fma(hh, fma(hh, kCs6, kCs4), kCs2));
        const SinCosEntry& e = *p.entry;
        const double cor = fma(s, e.cosHigh, fma(-c, e.sinHigh, fma(s, e.cosLow, e.sinLow)));
        return std::copysign(e.sinHigh + cor, x);
    }

    // cos(x + dx) for |x| < 0.855469, by cos(p + h) = cos p - (sin p sin h +
    // cos p (1 - cos h)); here dx is folded into h before the polynomials.
    TRIG_INLINE static double cosNearZero(double x, double dx) {
        if (x < 0) dx = -dx;
        const TablePoint p = nearestTablePoint(x);
        const double h = p.offset + dx;
        const double hh = h * h;
        const double s = fma(h * hh, fma(hh, kSn5, kSn3), h);
        const double c = hh * fma(hh, fma(hh, kCs6, kCs4), kCs2);
        const SinCosEntry& e = *p.entry;
        const double cor = fma(-e.sinHigh, s, fma(-e.cosHigh, c, fma(-s, e.sinLow, e.cosLow)));
        return e.cosHigh + cor;
    }

    // x = n pi/2 + (a + da) with |a + da| <= pi/4 (Cody-Waite). Taking off
    // n times the first two parts is exact or nearly; the last two are
    // taken off with their rounding errors gathered in da.
    struct Reduced {
        double a, da;
        uint32_t quadrant;
    };

    TRIG_INLINE static Reduced reduceByHalfPi(double x) {
        const double t = fma(x, kTwoOverPi, kIntRound);
        const double n = t - kIntRound;
        const double y = fma(-n, kHalfPi2, fma(-n, kHalfPi1, x));
        const double t2 = fma(-n, kHalfPi3, y);
        double da = fma(-n, kHalfPi3, y - t2);
        const double a = fma(-n, kHalfPi4, t2);
        da += fma(-n, kHalfPi4, t2 - a);
        return {a, da, lowWord(t) & 3};
    }

    // sin(n pi/2 + a + da).
    TRIG_INLINE static double sinOfReduced(const Reduced& r) {
        const double v = (r.quadrant & 1) ? cosNearZero(r.a, r.da) : sinNearZero(r.a, r.da);
        return (r.quadrant & 2) ? -v : v;
    }

    TRIG_INLINE static double sin(double x) {
        const uint32_t k = highWord(x) & 0x7fffffff;
        if (k < kSinTiny) return x;
        if (k < kNearZero) return sinNearZero(x, 0.0);
        if (k < kNearHalfPi) return std::copysign(cosNearZero(kHalfPiHigh - std::fabs(x), kHalfPiLow), x);
        if (k < kReducible) return sinOfReduced(reduceByHalfPi(x));
        if (k < kInfinite) return sinOfReduced(reduceByHalfPi(wrapHuge(x)));
        return std::numeric_limits<double>::quiet_NaN();
    }

    TRIG_INLINE static double cos(double x) {
        const uint32_t k = highWord(x) & 0x7fffffff;
        if (k < kCosTiny) return 1.0;
        if (k < kNearZero) return cosNearZero(x, 0.0);
        if (k < kNearHalfPi) {
            // cos x = sin(pi/2 - |x|), with pi/2 - |x| carried as a + da.
            const double y = kHalfPiHigh - std::fabs(x);
            const double a = y + kHalfPiLow;
            const double da = (y - a) + kHalfPiLow;
            return sinNearZero(a, da);
        }
        if (k < kReducible) {
            Reduced r = reduceByHalfPi(x);
            ++r.quadrant;
            return sinOfReduced(r);
        }
        if (k < kInfinite) {
            Reduced r = reduceByHalfPi(wrapHuge(x));
            ++r.quadrant;
            return sinOfReduced(r);
        }
        return std::numeric_limits<double>::quiet_NaN();
    }

    // Past the reduction's range only a deterministic stand-in: x modulo
    // the double nearest 2 pi (std::fmod is exact), then the reduction.
    TRIG_INLINE static double wrapHuge(double x) { return std::fmod(x, 2.0 * kHalfPiHigh); }
};

struct SoftwareFma {
    TRIG_INLINE static double apply(double a, double b, double c) { return exactFma(a, b, c); }
};

// On x86-64 the FMA instruction gives the same exact results much faster.
// Where the compiler may assume it (-mfma) it is always used; otherwise a
// copy of the algorithm compiled for it runs on CPUs that report it.
#if defined(__x86_64__) && defined(__GNUC__)
#define PORTABLE_TRIG_FMA_INSTRUCTION 1
#if defined(__FMA__)
#define PORTABLE_TRIG_FMA_TARGET
#else
#define PORTABLE_TRIG_FMA_TARGET __attribute__((target("fma")))
#endif

struct InstructionFma {
    PORTABLE_TRIG_FMA_TARGET static double apply(double a, double b, double c) {
        return __builtin_fma(a, b, c);
    }
};

PORTABLE_TRIG_FMA_TARGET double sinByInstruction(double x) { return Trig<InstructionFma>::sin(x); }
PORTABLE_TRIG_FMA_TARGET double cosByInstruction(double x) { return Trig<InstructionFma>::cos(x); }

// Asked on every call rather than cached, so the core keeps no state of its
// own; the CPU model is read once by the runtime, this is a load and a test.
bool fmaInstructionUsable() {
#if defined(__FMA__)
    return true;
#else
    __builtin_cpu_init();
    return __builtin_cpu_supports("fma");
#endif
}
#elif defined(__aarch64__) && defined(__GNUC__)
// 64-bit ARM: the fused multiply-add (fmadd) belongs to the base instruction
// set, so every CPU has it. Only these deliberate calls fuse; the compiler
// fuses nothing of its own (-ffp-contract=off).
#define PORTABLE_TRIG_FMA_INSTRUCTION 1

struct InstructionFma {
    static double apply(double a, double b, double c) { return __builtin_fma(a, b, c); }
};

double sinByInstruction(double x) { return Trig<InstructionFma>::sin(x); }
double cosByInstruction(double x) { return Trig<InstructionFma>::cos(x); }
bool fmaInstructionUsable() { return true; }
#else
#define PORTABLE_TRIG_FMA_INSTRUCTION 0
#endif

}  // namespace

double portableSin(double x) {
#if PORTABLE_TRIG_FMA_INSTRUCTION
    if (fmaInstructionUsable()) return sinByInstruction(x);
#endif
    return Trig<SoftwareFma>::sin(x);
}

double portableCos(double x) {
#if PORTABLE_TRIG_FMA_INSTRUCTION
    if (fmaInstructionUsable()) return cosByInstruction(x);
#endif
    return Trig<SoftwareFma>::cos(x);
}

namespace portable_trig_detail {

double sinWithSoftwareFma(double x) { return Trig<SoftwareFma>::sin(x); }
double cosWithSoftwareFma(double x) { return Trig<SoftwareFma>::cos(x); }

}  // namespace portable_trig_detail
