#include "sincos_table_gen.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sincos_table {

namespace {

// An unsigned fixed-point number: the 256-bit integer in limbs (least
// significant first) times 2^-kFractionBits. Values below 2 leave 15 bits
// of headroom, enough to multiply by i^2 < 2^14 before dividing.
constexpr int kFractionBits = 240;
// The series terms are each truncated once per step; over ~30 steps the
// sum is within 2^6 units of the exact value. A value closer than this
// to a rounding boundary is reported instead of rounded.
constexpr uint64_t kErrorUnits = 64;

struct Fixed {
    std::array<uint64_t, 4> limb{};
};

using Wide = unsigned __int128;

Fixed fromInteger(uint64_t v, int shift) {
    Fixed f;
    f.limb[shift / 64] = v << (shift % 64);
    if (shift % 64 != 0 && shift / 64 + 1 < 4) f.limb[shift / 64 + 1] = v >> (64 - shift % 64);
    return f;
}

bool isZero(const Fixed& a) { return (a.limb[0] | a.limb[1] | a.limb[2] | a.limb[3]) == 0; }

int compare(const Fixed& a, const Fixed& b) {
    for (int k = 3; k >= 0; --k) {
        if (a.limb[k] != b.limb[k]) return a.limb[k] < b.limb[k] ? -1 : 1;
    }
    return 0;
}

Fixed add(const Fixed& a, const Fixed& b) {
    Fixed r;
    uint64_t carry = 0;
    for (int k = 0; k < 4; ++k) {
        const Wide s = Wide{a.limb[k]} + b.limb[k] + carry;
        r.limb[k] = static_cast<uint64_t>(s);
        carry = static_cast<uint64_t>(s >> 64);
    }
    return r;
}

// a - b for a >= b.
Fixed subtract(const Fixed& a, const Fixed& b) {
    Fixed r;
    uint64_t borrow = 0;
    for (int k = 0; k < 4; ++k) {
        const uint64_t d = a.limb[k] - b.limb[k] - borrow;
        borrow = (a.limb[k] < b.limb[k] || (a.limb[k] == b.limb[k] && borrow)) ? 1 : 0;
        r.limb[k] = d;
    }
    return r;
}

Fixed multiply(const Fixed& a, uint64_t m) {
    Fixed r;
    uint64_t carry = 0;
    for (int k = 0; k < 4; ++k) {
        const Wide p = Wide{a.limb[k]} * m + carry;
        r.limb[k] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    return r;
}

// Truncating division by d (d < 2^63).
Fixed divide(const Fixed& a, uint64_t d) {
    Fixed r;
    Wide rest = 0;
    for (int k = 3; k >= 0; --k) {
        const Wide cur = (rest << 64) | a.limb[k];
        r.limb[k] = static_cast<uint64_t>(cur / d);
        rest = cur % d;
    }
    return r;
}

int bitLength(const Fixed& a) {
    for (int k = 3; k >= 0; --k) {
        if (a.limb[k] != 0) return 64 * k + 64 - __builtin_clzll(a.limb[k]);
    }
    return 0;
}

bool bit(const Fixed& a, int n) { return (a.limb[n / 64] >> (n % 64)) & 1; }

// The low n bits of a, compared with 2^(n-1): how far the dropped part is
// from half a unit, in units, saturated at 2^64 - 1.
struct Dropped {
    int sideOfHalf;      // -1 below, 0 exactly half, +1 above
    uint64_t distance;   // |dropped - half|, saturated
};

Dropped droppedBits(const Fixed& a, int n) {
    Fixed low = a;
    for (int k = 0; k < 4; ++k) {
        const int from = 64 * k;
        if (from >= n) {
            low.limb[k] = 0;
        } else if (from + 64 > n) {
            low.limb[k] &= (uint64_t{1} << (n - from)) - 1;
        }
    }
    const Fixed half = fromInteger(1, n - 1);
    const int side = compare(low, half);
    const Fixed gap = side >= 0 ? subtract(low, half) : subtract(half, low);
    const bool small = gap.limb[1] == 0 && gap.limb[2] == 0 && gap.limb[3] == 0;
    return {side, small ? gap.limb[0] : UINT64_MAX};
}

// The significand kept when rounding to 53 bits, and the exponent of its
// last bit; the rounded value is significand * 2^(exponent - kFractionBits).
struct Rounded {
    uint64_t significand;
    int shift;
    bool decided;
};

Rounded roundTo53(const Fixed& a) {
    const int length = bitLength(a);
    if (length <= 53) return {a.limb[0], 0, true};
    const int shift = length - 53;
    uint64_t top = 0;
    for (int b = length - 1; b >= shift; --b) top = (top << 1) | (bit(a, b) ? 1 : 0);
    const Dropped d = droppedBits(a, shift);
    const bool up = d.sideOfHalf > 0 || (d.sideOfHalf == 0 && (top & 1));
    return {top + (up ? 1 : 0), shift, d.distance > kErrorUnits};
}

double toDouble(const Rounded& r) {
    return std::ldexp(static_cast<double>(r.significand), r.shift - kFractionBits);
}

// The sum of the alternating series first - first x^2/((p+1)(p+2)) + ...,
// which is sin x for first = x, p = 1 and cos x for first = 1, p = 0, with
// x = i/128. Every partial sum stays positive for these x, so the sum is
// kept unsigned.
Fixed series(const Fixed& first, int firstPower, uint64_t i) {
    Fixed term = first;
    Fixed sum = first;
    bool subtractNext = true;
    for (uint64_t n = static_cast<uint64_t>(firstPower); !isZero(term); n += 2) {
        term = divide(multiply(term, i * i), uint64_t{128 * 128} * (n + 1) * (n + 2));
        sum = subtractNext ? subtract(sum, term) : add(sum, term);
        subtractNext = !subtractNext;
    }
    return sum;
}

// Splits v into the nearest double and the nearest double to v minus it.
bool split(const Fixed& v, double& high, double& low) {
    const Rounded h = roundTo53(v);
    high = toDouble(h);
    const Fixed highFixed = multiply(fromInteger(1, h.shift), h.significand);
    const bool below = compare(v, highFixed) < 0;
    const Fixed rest = below ? subtract(highFixed, v) : subtract(v, highFixed);
    if (isZero(rest)) {
        low = 0.0;
        return h.decided;
    }
    const Rounded l = roundTo53(rest);
    low = below ? -toDouble(l) : toDouble(l);
    return h.decided && l.decided;
}

void appendDouble(std::string& out, double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", v);
    out += text;
}

}  // namespace

bool computeTable(std::array<Entry, kEntries>& table) {
    for (int i = 0; i < kEntries; ++i) {
        const uint64_t index = static_cast<uint64_t>(i);
        const Fixed x = fromInteger(index, kFractionBits - 7);
        const Fixed one = fromInteger(1, kFractionBits);
        Entry& e = table[i];
        if (!split(series(x, 1, index), e.sinHigh, e.sinLow)) return false;
        if (!split(series(one, 0, index), e.cosHigh, e.cosLow)) return false;
    }
    return true;
}

std::string tableSource(const std::array<Entry, kEntries>& table) {
    std::string out =
        "// Generated by sincos_table_gen (tools/sincos_table); do not edit.\n"
        "// Row i: sin(i/128) and cos(i/128), each as a high and a low double.\n"
        "#include \"raster/sincos_table.h\"\n"
        "\n"
        "const SinCosEntry kSinCosTable[kSinCosEntries] = {\n";
    for (const Entry& e : table) {
        out += "    {";
        appendDouble(out, e.sinHigh);
        out += ", ";
        appendDouble(out, e.sinLow);
        out += ", ";
        appendDouble(out, e.cosHigh);
        out += ", ";
        appendDouble(out, e.cosLow);
        out += "},\n";
    }
    out += "};\n";
    return out;
}

}  // namespace sincos_table
