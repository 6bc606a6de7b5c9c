#include "raster/exact_fma.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "raster/double_bits.h"

namespace {

using Wide = unsigned __int128;

constexpr uint64_t kSignBit = uint64_t{1} << 63;
constexpr uint64_t kHidden = uint64_t{1} << 52;
constexpr int kMinExponent = -1074;  // of the last bit of a subnormal
constexpr int kMaxExponent = 1023;   // of the first bit of the largest double

// |x| = significand * 2^exponent, the significand a whole number.
struct Unpacked {
    uint64_t significand;
    int exponent;
    bool negative;
};

Unpacked unpack(double x) {
    const uint64_t b = bitsOf(x);
    const int field = static_cast<int>((b >> 52) & 0x7ff);
    const uint64_t fraction = b & (kHidden - 1);
    const bool negative = (b & kSignBit) != 0;
    if (field == 0) return {fraction, kMinExponent, negative};
    return {fraction | kHidden, field - 1075, negative};
}

int bitLength(Wide v) {
    const uint64_t high = static_cast<uint64_t>(v >> 64);
    if (high != 0) return 128 - __builtin_clzll(high);
    const uint64_t low = static_cast<uint64_t>(v);
    return low == 0 ? 0 : 64 - __builtin_clzll(low);
}

// v >> n with every bit shifted out ORed into bit 0. The result then lies
// in the same unit interval as the exact quotient and is odd when that is
// not whole, which keeps every later rounding decision at bit 2 or above
// the one the exact value would get.
Wide shiftRightSticky(Wide v, int n) {
    if (n <= 0) return v;
    if (n >= 128) return v != 0 ? 1 : 0;
    const Wide dropped = v & ((Wide{1} << n) - 1);
    return (v >> n) | (dropped != 0 ? 1 : 0);
}

// The double nearest to (negative ? -1 : 1) * r * 2^exponent, r > 0.
double roundToDouble(bool negative, Wide r, int exponent) {
    const uint64_t sign = negative ? kSignBit : 0;
    const int top = exponent + bitLength(r) - 1;
    if (top > kMaxExponent) return fromBits(sign | 0x7ff0000000000000);
    int last = top - 52 > kMinExponent ? top - 52 : kMinExponent;
    const int shift = last - exponent;
    uint64_t significand;
    if (shift <= 0) {
        significand = static_cast<uint64_t>(r << -shift);
    } else if (shift >= 128) {
        significand = 0;  // below half the smallest subnormal
    } else {
        significand = static_cast<uint64_t>(r >> shift);
        const Wide rest = r & ((Wide{1} << shift) - 1);
        const Wide half = Wide{1} << (shift - 1);
        if (rest > half || (rest == half && (significand & 1))) ++significand;
    }
    if (significand == kHidden << 1) {
        significand >>= 1;
        ++last;
        if (last + 52 > kMaxExponent) return fromBits(sign | 0x7ff0000000000000);
    }
    if (significand < kHidden) return fromBits(sign | significand);  // subnormal or zero
    const uint64_t field = static_cast<uint64_t>(last + 1075);
    return fromBits(sign | (field << 52) | (significand - kHidden));
}

}  // namespace

double exactFma(double a, double b, double c) {
    // An exact zero product, or an infinite or nan operand: the IEEE
    // operations already give the right value, zero signs included.
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || a == 0 || b == 0) return a * b + c;
    // A nonzero product plus zero is the rounded product, with the
    // product's sign even when it rounds to zero (a * b + c would then
    // give +0 for a negative product).
    if (c == 0) return a * b;
    const Unpacked x = unpack(a);
    const Unpacked y = unpack(b);
    const Unpacked z = unpack(c);
    // Both terms with their first bit at bit 125: the product's 106 bits
    // and c's 53 leave at least 20 zero bits below, so alignment shifts of
    // up to 20 (the only ones that can lead to cancellation) are exact.
    Wide product = Wide{x.significand} * y.significand;
    int productExponent = x.exponent + y.exponent;
    const int productShift = 126 - bitLength(product);
    product <<= productShift;
    productExponent -= productShift;
    const bool productNegative = x.negative != y.negative;

    Wide addend = z.significand;
    int addendExponent = z.exponent;
    const int addendShift = 126 - bitLength(addend);
    addend <<= addendShift;
    addendExponent -= addendShift;

    int exponent;
    if (productExponent >= addendExponent) {
        addend = shiftRightSticky(addend, productExponent - addendExponent);
        exponent = productExponent;
    } else {
        product = shiftRightSticky(product, addendExponent - productExponent);
        exponent = addendExponent;
    }
    if (productNegative == z.negative) return roundToDouble(productNegative, product + addend, exponent);
    if (product == addend) return 0.0;  // exact cancellation gives +0
    if (product > addend) return roundToDouble(productNegative, product - addend, exponent);
    return roundToDouble(z.negative, addend - product, exponent);
}
