// The smear: every written pixel becomes the sum of its quartered neighbours,
// in place on linear indices, so that the pixels above and to the left
// already hold this pass's results and the smear runs right and down.
#include "raster/smear.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Every byte divided by 4, rounded down.
inline uint32_t quarter(uint32_t v) { return (v >> 2) & 0x3F3F3F3F; }

// The sum of the quartered upper, right and lower neighbours of pixel p: the
// part of the smear that does not depend on the left neighbour.
inline uint32_t otherNeighbours(const uint32_t* p, int64_t W) {
    return quarter(p[-W]) + quarter(p[1]) + quarter(p[W]);
}

// The smear of n pixels from p, one after the other: each pixel's left
// neighbour is the one just written.
void smearOneByOne(uint32_t* p, int64_t W, int64_t n) {
    uint32_t left = p[-1];
    for (int64_t j = 0; j < n; ++j) {
        left = quarter(left) + otherNeighbours(p + j, W);
        p[j] = left;
    }
}

#if defined(__SSE2__)
// The left-neighbour chain costs three dependent operations per pixel. To
// break it, a chunk is cut into kRuns runs of equal length that are smeared
// side by side, one run per 32-bit lane: a register holds "the k-th pixel of
// runs j to j + 3", and four such steps are transposed to and from four
// pixels in a row of each run at once.
//
// Per byte the chain is u' = floor((u + o) / 4) with u = the left neighbour
// quartered (0..63) and o the sum of the other three quartered neighbours.
// Three steps give u3 = floor((u + P) / 64), P = o0 + 4 o1 + 16 o2, which
// takes only two values over u = 0..63: floor(P / 64), plus one when
// u + (P mod 64) >= 64. The chain is monotonic in u, so from there on the
// run follows either the trajectory started at u = 0 or the one started at
// u = 63, and these differ by at most one. So a first pass follows both
// trajectories of all runs at once, a short scalar walk then finds every
// run's real start from the end of the run before it, and a second pass
// smears the runs from their real starts.
//
// Both passes keep the chain complemented, v = 63 - u and w = 189 - o: then
// a step v' = ceil((v + w) / 4) is two rounding-up averages, and the pixel
// is u + o = 252 - (v + w).
constexpr int64_t kRuns = 16;

inline __m128i load4(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void store4(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The block helpers below are forced inline so that the chains stay in registers.

// Four registers of four pixels: the j-th pixel of every register becomes register j.
[[gnu::always_inline]] inline void transpose4(__m128i& a, __m128i& b, __m128i& c, __m128i& d) {
    const __m128i ab01 = _mm_unpacklo_epi32(a, b);
    const __m128i ab23 = _mm_unpackhi_epi32(a, b);
    const __m128i cd01 = _mm_unpacklo_epi32(c, d);
    const __m128i cd23 = _mm_unpackhi_epi32(c, d);
    a = _mm_unpacklo_epi64(ab01, cd01);
    b = _mm_unpackhi_epi64(ab01, cd01);
    c = _mm_unpacklo_epi64(ab23, cd23);
    d = _mm_unpackhi_epi64(ab23, cd23);
}

// w = 189 - o = quarter(~up) + quarter(~right) + quarter(~down) of the four
// pixels from s. With the two low bits of every byte cleared, all sums below
// are multiples of four, so the rounding averages are exact:
// ((a + b) / 2 + c / 2) / 2.
[[gnu::always_inline]] inline __m128i complementedOthers4(const uint32_t* s, int64_t W) {
    const __m128i high6 = _mm_set1_epi8(static_cast<char>(0xFC));
    const __m128i up = _mm_andnot_si128(load4(s - W), high6);
    const __m128i right = _mm_andnot_si128(load4(s + 1), high6);
    const __m128i down = _mm_andnot_si128(load4(s + W), high6);
    return _mm_avg_epu8(_mm_avg_epu8(up, right), _mm_srli_epi32(down, 1));
}

// One chain step on the complemented values.
[[gnu::always_inline]] inline __m128i chainStep(__m128i v, __m128i w) {
    return _mm_avg_epu8(_mm_avg_epu8(v, w), _mm_setzero_si128());
}

// Per run: where it ends (as u) when it starts at u = 0 ("low") and at
// u = 63 ("high"), and P mod 64 of its first three pixels, per byte.
struct RunEnds {
    alignas(16) uint32_t low[kRuns];
    alignas(16) uint32_t high[kRuns];
    alignas(16) uint32_t carry[kRuns];
};

// Stores one step's w of four runs and advances their low trajectory and,
// with kHigh, their high one.
template <bool kHigh>
[[gnu::always_inline]] inline void boundStep(__m128i w, uint32_t* out, __m128i& low, __m128i& high) {
    store4(out, w);
    low = chainStep(low, w);
    if constexpr (kHigh) high = chainStep(high, w);
}

// One block of four steps of four runs whose first pixels are s, s + length,
// s + 2 length and s + 3 length: stores w in run-lane order and advances
// the bounding trajectories.
template <bool kHigh>
[[gnu::always_inline]] inline void boundBlock(const uint32_t* s, int64_t length, int64_t W, uint32_t* out,
                                              __m128i& low, __m128i& high) {
    __m128i w0 = complementedOthers4(s, W);
    __m128i w1 = complementedOthers4(s + length, W);
    __m128i w2 = complementedOthers4(s + 2 * length, W);
    __m128i w3 = complementedOthers4(s + 3 * length, W);
    transpose4(w0, w1, w2, w3);
    boundStep<kHigh>(w0, out, low, high);
    boundStep<kHigh>(w1, out + kRuns, low, high);
    boundStep<kHigh>(w2, out + 2 * kRuns, low, high);
    boundStep<kHigh>(w3, out + 3 * kRuns, low, high);
}

// The ends of four runs as u, and (o0 + 4 o1 + 16 o2) mod 64 per byte from
// the stored w of their first three steps; the masked terms cannot carry.
void finishBounds(__m128i low, __m128i high, const uint32_t* others, uint32_t* lowEnd, uint32_t* highEnd,
                  uint32_t* carry) {
    const __m128i u63 = _mm_set1_epi8(63);
    store4(lowEnd, _mm_xor_si128(low, u63));
    store4(highEnd, _mm_xor_si128(high, u63));
    const __m128i w189 = _mm_set1_epi8(static_cast<char>(189));
    const __m128i o0 = _mm_and_si128(_mm_sub_epi8(w189, load4(others)), u63);
    const __m128i o1 = _mm_and_si128(_mm_sub_epi8(w189, load4(others + kRuns)), _mm_set1_epi8(0x0F));
    const __m128i o2 = _mm_and_si128(_mm_sub_epi8(w189, load4(others + 2 * kRuns)), _mm_set1_epi8(0x03));
    const __m128i sum = _mm_add_epi8(o0, _mm_add_epi8(_mm_slli_epi32(o1, 2), _mm_slli_epi32(o2, 4)));
    store4(carry, _mm_and_si128(sum, u63));
}

// First pass over kRuns runs of `length` pixels from p: stores every pixel's
// w in run-lane order (others[k * kRuns + run]) and follows both bounding
// trajectories of every run. Eight runs at a time: their four chains hide
// each other's latency and still leave registers for the sums.
//
// Once the two trajectories of all eight runs agree in every byte they agree
// for good (each step is a function of the trajectory and w alone), so from
// there on only the low one is followed. On most pictures that happens within
// a few steps; on flat areas that hold two steady smears it may never happen.
// Returns true when the trajectories of all runs met.
bool sumOthersAndBound(const uint32_t* p, int64_t W, int64_t length, uint32_t* others, RunEnds& ends) {
    static_assert(kRuns % 8 == 0, "runs go in pairs of groups of four");
    bool allMet = true;
    for (int64_t run = 0; run < kRuns; run += 8) {
        __m128i low0 = _mm_set1_epi8(63), low1 = low0;
        __m128i high0 = _mm_setzero_si128(), high1 = high0;
        const uint32_t* s = p + run * length;
        uint32_t* out = others + run;
        int64_t k = 0;
        bool met = false;
        while (k < length) {
            boundBlock<true>(s + k, length, W, out + k * kRuns, low0, high0);
            boundBlock<true>(s + 4 * length + k, length, W, out + k * kRuns + 4, low1, high1);
            k += 4;
            const __m128i same = _mm_and_si128(_mm_cmpeq_epi8(low0, high0), _mm_cmpeq_epi8(low1, high1));
            if (_mm_movemask_epi8(same) == 0xFFFF) {
                met = true;
                break;
            }
        }
        for (; k < length; k += 4) {
            boundBlock<false>(s + k, length, W, out + k * kRuns, low0, high0);
            boundBlock<false>(s + 4 * length + k, length, W, out + k * kRuns + 4, low1, high1);
        }
        if (met) {
            high0 = low0;
            high1 = low1;
        }
        allMet = allMet && met;
        finishBounds(low0, high0, out, ends.low + run, ends.high + run, ends.carry + run);
        finishBounds(low1, high1, out + 4, ends.low + run + 4, ends.high + run + 4, ends.carry + run + 4);
    }
    return allMet;
}

// The real start u (left neighbour quartered) of every run, from the start
// of the first: a run ends on its high trajectory exactly when u + carry >= 64
// in a byte, and the two ends differ by 0 or 1 there.
// When all trajectories met, every run ends on its low trajectory whatever
// its start.
void chainRunStarts(uint32_t u, const RunEnds& ends, bool allMet, uint32_t* starts) {
    if (allMet) {
        starts[0] = u;
        for (int64_t r = 1; r < kRuns; ++r) starts[r] = ends.low[r - 1];
        return;
    }
    for (int64_t r = 0; r < kRuns; ++r) {
        starts[r] = u;
        const uint32_t stepUp = ends.high[r] - ends.low[r];  // 0 or 1 per byte
        u = ends.low[r] + (((u + ends.carry[r]) >> 6) & stepUp);
    }
}

// One step of four runs: returns the pixels and advances the complemented
// left neighbours v.
[[gnu::always_inline]] inline __m128i smearStep(const uint32_t* in, __m128i& v) {
    const __m128i w = load4(in);
    const __m128i x = _mm_sub_epi8(_mm_set1_epi8(static_cast<char>(252)), _mm_add_epi8(v, w));
    v = chainStep(v, w);
    return x;
}

// One block of four steps of four runs, written back as four pixels in a
// row per run.
[[gnu::always_inline]] inline void smearBlock(uint32_t* s, int64_t length, const uint32_t* in, __m128i& v) {
    __m128i x0 = smearStep(in, v);
    __m128i x1 = smearStep(in + kRuns, v);
    __m128i x2 = smearStep(in + 2 * kRuns, v);
    __m128i x3 = smearStep(in + 3 * kRuns, v);
    transpose4(x0, x1, x2, x3);
    store4(s, x0);
    store4(s + length, x1);
    store4(s + 2 * length, x2);
    store4(s + 3 * length, x3);
}

// Second pass: every run smeared from its real start, all sixteen together
// so that enough chains are in flight.
void smearRuns(uint32_t* p, int64_t length, const uint32_t* others, const uint32_t* starts) {
    static_assert(kRuns == 16, "four groups of four runs");
    const __m128i u63 = _mm_set1_epi8(63);
    __m128i v0 = _mm_xor_si128(load4(starts), u63), v1 = _mm_xor_si128(load4(starts + 4), u63);
    __m128i v2 = _mm_xor_si128(load4(starts + 8), u63), v3 = _mm_xor_si128(load4(starts + 12), u63);
    for (int64_t k = 0; k < length; k += 4) {
        smearBlock(p + k, length, others + k * kRuns, v0);
        smearBlock(p + 4 * length + k, length, others + k * kRuns + 4, v1);
        smearBlock(p + 8 * length + k, length, others + k * kRuns + 8, v2);
        smearBlock(p + 12 * length + k, length, others + k * kRuns + 12, v3);
    }
}

// The smear of a chunk of n <= W pixels: the longest multiple of kRuns * 4
// in runs, the rest one by one after them. The runs read nothing they
// write, and the rest reads only pixels of earlier chunks, the last run's
// last pixel as its left neighbour and untouched pixels.
void smearChunk(uint32_t* p, int64_t W, int64_t n, uint32_t* others) {
    const int64_t length = n / (kRuns * 4) * 4;
    if (length > 0) {
        RunEnds ends;
        alignas(16) uint32_t starts[kRuns];
        const bool allMet = sumOthersAndBound(p, W, length, others, ends);
        chainRunStarts(quarter(p[-1]), ends, allMet, starts);
        smearRuns(p, length, others, starts);
    }
    smearOneByOne(p + kRuns * length, W, n - kRuns * length);
}
#endif

}  // namespace

void smearBand(uint32_t* pixels, int64_t W, int64_t first, int64_t end) {
    constexpr int64_t kMaxSmearChunk = 2048;
    // Chunks no longer than a row: the upper neighbours of a chunk are final
    // before it starts, its right and lower neighbours still untouched, so
    // only the left neighbour chains from pixel to pixel.
    const int64_t chunk = std::min(W, kMaxSmearChunk);
#if defined(__SSE2__)
    alignas(16) uint32_t others[kMaxSmearChunk];
    for (int64_t c = first; c < end; c += chunk) smearChunk(pixels + c, W, std::min(chunk, end - c), others);
#else
    for (int64_t c = first; c < end; c += chunk) smearOneByOne(pixels + c, W, std::min(chunk, end - c));
#endif
}

