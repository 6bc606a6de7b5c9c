#include "chroma_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

// BT.709 in limited range, with R, G and B in 0-255: the luma weights, and
// per unit of Cb or Cr (centred on 128) what a player adds to each channel.
constexpr float kKr = 0.2126f, kKb = 0.0722f, kKg = 1.0f - kKr - kKb;
constexpr float kLumaScale = 219.0f / 255.0f;  // Y - 16 per unit of RGB
constexpr float kCbScale = 224.0f / 255.0f / (2.0f * (1.0f - kKb));
constexpr float kCrScale = 224.0f / 255.0f / (2.0f * (1.0f - kKr));
constexpr float kRedPerCr = 1.0f / kCrScale;
constexpr float kBluePerCb = 1.0f / kCbScale;
constexpr float kGreenPerCb = -kKb / kKg / kCbScale;
constexpr float kGreenPerCr = -kKr / kKg / kCrScale;

std::array<float, 3> channels(uint32_t pixel) {
    return {static_cast<float>((pixel >> 16) & 0xFF), static_cast<float>((pixel >> 8) & 0xFF),
            static_cast<float>(pixel & 0xFF)};
}

// Rounded to the nearest byte, halves up.
uint8_t toByte(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f); }

// The two colour samples a player blends for pixel p of an axis with n
// samples, each sample centred on its pair of pixels (the siting the stream
// is tagged with): three quarters of the nearer sample and a quarter of the
// next, the edge sample repeated past the ends. Scaled by two, a pair of
// pixels is one frame pixel, so each frame pixel has a sample of its own.
using Blend = ChromaFit::Blend;
constexpr float kNear = 0.75f, kFar = 0.25f;

Blend blendOf(int32_t p, int32_t n) {
    const int32_t near = p / 2;
    const int32_t far = (p % 2 == 0) ? std::max(near - 1, 0) : std::min(near + 1, n - 1);
    return {near, far};
}

// How much of the colour of sample i pixel p gets (0 when neither).
float weightOf(Blend blend, int32_t i) {
    return (blend.near == i ? kNear : 0.0f) + (blend.far == i ? kFar : 0.0f);
}

// The total squared error over the three channels when the player shows
// luma level y (RGB units) with the colour offsets `add`, clipped to 0-255.
float shownError(float y, const std::array<float, 3>& add, const std::array<float, 3>& target) {
    float error = 0.0f;
    for (size_t c = 0; c < 3; ++c) {
        const float shown = std::clamp(y + add[c], 0.0f, 255.0f);
        error += (shown - target[c]) * (shown - target[c]);
    }
    return error;
}

constexpr float kLowestLevel = -16.0f / kLumaScale, kHighestLevel = 239.0f / kLumaScale;

// Whether the level where no channel clips is the best of all: below the
// first level where a channel clips low, that channel alone costs its
// target squared; above the first where one clips high, 255 less its target,
// squared. Between the two the error is a parabola with its vertex there.
bool vertexIsBest(float vertex, const std::array<float, 3>& add, const std::array<float, 3>& target) {
    if (vertex < kLowestLevel || vertex > kHighestLevel) return false;
    size_t firstLow = 0, firstHigh = 0;
    for (size_t c = 0; c < 3; ++c) {
        if (vertex + add[c] < 0.0f || vertex + add[c] > 255.0f) return false;
        if (add[c] < add[firstLow]) firstLow = c;
        if (add[c] > add[firstHigh]) firstHigh = c;
    }
    const float error = shownError(vertex, add, target);
    const float belowCost = target[firstLow] * target[firstLow];
    const float aboveCost = (255.0f - target[firstHigh]) * (255.0f - target[firstHigh]);
    return error <= belowCost && error <= aboveCost;
}

// The luma level, in RGB units within what a Y byte can say, that brings the
// shown pixel nearest the target. Where no channel clips the error is a
// parabola; each channel clips beyond two break points, so the best level
// is the vertex for some set of unclipped channels or a break point.
float bestLevel(const std::array<float, 3>& add, const std::array<float, 3>& target) {
    const float vertex = (target[0] - add[0] + target[1] - add[1] + target[2] - add[2]) / 3.0f;
    if (vertexIsBest(vertex, add, target)) return vertex;
    std::array<float, 13> candidates{};
    size_t count = 0;
    for (uint32_t set = 1; set < 8; ++set) {
        float sum = 0.0f;
        int32_t members = 0;
        for (size_t c = 0; c < 3; ++c) {
            if ((set >> c) & 1u) {
                sum += target[c] - add[c];
                ++members;
            }
        }
        candidates[count++] = sum / static_cast<float>(members);
    }
    for (size_t c = 0; c < 3; ++c) {
        candidates[count++] = -add[c];
        candidates[count++] = 255.0f - add[c];
    }
    float best = 0.0f, bestError = INFINITY;
    for (const float candidate : candidates) {
        const float level = std::clamp(candidate, kLowestLevel, kHighestLevel);
        const float error = shownError(level, add, target);
        if (error < bestError) {
            bestError = error;
            best = level;
        }
    }
    return best;
}

std::vector<Blend> blendsOf(int32_t size) {
    std::vector<Blend> blends(static_cast<size_t>(size));
    for (int32_t p = 0; p < size; ++p) blends[static_cast<size_t>(p)] = blendOf(p, size / 2);
    return blends;
}

std::vector<int32_t> nearestSources(int32_t size, int32_t sourceSize) {
    std::vector<int32_t> map(static_cast<size_t>(size));
    for (int32_t p = 0; p < size; ++p) {
        // The source pixel under the centre of pixel p.
        map[static_cast<size_t>(p)] =
            static_cast<int32_t>((2 * int64_t{p} + 1) * sourceSize / (2 * int64_t{size}));
    }
    return map;
}

}  // namespace

ChromaFit::Axis::Axis(int32_t n)
    : lower(static_cast<size_t>(n)), inversePivot(static_cast<size_t>(n)), upper(static_cast<size_t>(n)) {
    // The normal matrix of the blend: sum over pixels of weight products.
    std::vector<float> diagonal(static_cast<size_t>(n), 0.0f);
    for (int32_t p = 0; p < 2 * n; ++p) {
        const Blend blend = blendOf(p, n);
        for (int32_t i = std::max(blend.near - 1, 0); i <= std::min(blend.near + 1, n - 1); ++i) {
            const float w = weightOf(blend, i);
            diagonal[static_cast<size_t>(i)] += w * w;
            if (i + 1 < n) upper[static_cast<size_t>(i)] += w * weightOf(blend, i + 1);
        }
    }
    float pivot = diagonal[0];
    inversePivot[0] = 1.0f / pivot;
    for (size_t i = 1; i < static_cast<size_t>(n); ++i) {
        lower[i] = upper[i - 1] / pivot;
        pivot = diagonal[i] - lower[i] * upper[i - 1];
        inversePivot[i] = 1.0f / pivot;
    }
}

void ChromaFit::Axis::solveRow(float* values) const {
    for (size_t i = 1; i < lower.size(); ++i) values[i] -= lower[i] * values[i - 1];
    values[lower.size() - 1] *= inversePivot[lower.size() - 1];
    for (size_t i = lower.size() - 1; i-- > 0;)
        values[i] = (values[i] - upper[i] * values[i + 1]) * inversePivot[i];
}

// Every column of a plane of `columns` columns at once, a row at a time, so
// that the work along a row is independent.
void ChromaFit::Axis::solveColumns(float* values, int32_t columns) const {
    const size_t n = lower.size(), w = static_cast<size_t>(columns);
    for (size_t i = 1; i < n; ++i) {
        for (size_t k = 0; k < w; ++k) values[i * w + k] -= lower[i] * values[(i - 1) * w + k];
    }
    for (size_t k = 0; k < w; ++k) values[(n - 1) * w + k] *= inversePivot[n - 1];
    for (size_t i = n - 1; i-- > 0;) {
        for (size_t k = 0; k < w; ++k) {
            values[i * w + k] = (values[i * w + k] - upper[i] * values[(i + 1) * w + k]) * inversePivot[i];
        }
    }
}

ChromaFit::ChromaFit(int32_t width, int32_t height)
    : width(width),
      height(height),
      sourceColumn(nearestSources(width, kScreenWidth)),
      sourceRow(nearestSources(height, kScreenHeight)),
      columnBlends(blendsOf(width)),
      across(width / 2),
      down(height / 2),
      columnSums(static_cast<size_t>(width / 2) * static_cast<size_t>(height) * 2),
      fitted(static_cast<size_t>(width / 2) * static_cast<size_t>(height / 2) * 2),
      yuv(static_cast<size_t>(width) * static_cast<size_t>(height) * 3 / 2) {}

void ChromaFit::convert(const Image& frame) {
    const size_t plane = fitted.size() / 2;
    fitChroma(frame);
    uint8_t* cbBytes = yuv.data() + static_cast<size_t>(width) * static_cast<size_t>(height);
    uint8_t* crBytes = cbBytes + plane;
    for (size_t k = 0; k < plane; ++k) {
        cbBytes[k] = toByte(128.0f + fitted[k]);
        crBytes[k] = toByte(128.0f + fitted[plane + k]);
        fitted[k] = static_cast<float>(cbBytes[k]) - 128.0f;
        fitted[plane + k] = static_cast<float>(crBytes[k]) - 128.0f;
    }
    fitLuma(frame);
}

const uint32_t* ChromaFit::sourceRowOf(const Image& frame, int32_t y) const {
    return frame.getPixels() + static_cast<ptrdiff_t>(sourceRow[static_cast<size_t>(y)]) * kScreenWidth;
}

// The least-squares colour samples: the blend's transpose applied to every
// pixel's own Cb and Cr, then the normal equations solved along rows and
// columns (the blend is the same along each axis, so they separate).
void ChromaFit::fitChroma(const Image& frame) {
    const int32_t cw = width / 2, ch = height / 2;
    const size_t plane = static_cast<size_t>(cw) * static_cast<size_t>(ch);
    std::fill(columnSums.begin(), columnSums.end(), 0.0f);
    std::fill(fitted.begin(), fitted.end(), 0.0f);
    float* cbRows = columnSums.data();
    float* crRows = cbRows + static_cast<size_t>(cw) * static_cast<size_t>(height);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* source = sourceRowOf(frame, y);
        float* cbRow = cbRows + static_cast<ptrdiff_t>(y) * cw;
        float* crRow = crRows + static_cast<ptrdiff_t>(y) * cw;
        for (int32_t x = 0; x < width; ++x) {
            const std::array<float, 3> rgb = channels(source[sourceColumn[static_cast<size_t>(x)]]);
            const float luma = kKr * rgb[0] + kKg * rgb[1] + kKb * rgb[2];
            const std::array<float, 2> colour = {(rgb[2] - luma) * kCbScale, (rgb[0] - luma) * kCrScale};
            const Blend blend = columnBlends[static_cast<size_t>(x)];
            cbRow[blend.near] += kNear * colour[0];
            crRow[blend.near] += kNear * colour[1];
            cbRow[blend.far] += kFar * colour[0];
            crRow[blend.far] += kFar * colour[1];
        }
    }
    float* cbFit = fitted.data();
    float* crFit = cbFit + plane;
    for (int32_t y = 0; y < height; ++y) {
        const Blend blend = blendOf(y, ch);
        const float* cbFrom = cbRows + static_cast<ptrdiff_t>(y) * cw;
        const float* crFrom = crRows + static_cast<ptrdiff_t>(y) * cw;
        float* cbNear = cbFit + static_cast<ptrdiff_t>(blend.near) * cw;
        float* crNear = crFit + static_cast<ptrdiff_t>(blend.near) * cw;
        float* cbFar = cbFit + static_cast<ptrdiff_t>(blend.far) * cw;
        float* crFar = crFit + static_cast<ptrdiff_t>(blend.far) * cw;
        for (int32_t i = 0; i < cw; ++i) {
            cbNear[i] += kNear * cbFrom[i];
            crNear[i] += kNear * crFrom[i];
            cbFar[i] += kFar * cbFrom[i];
            crFar[i] += kFar * crFrom[i];
        }
    }
    for (float* fit : {cbFit, crFit}) {
        for (int32_t j = 0; j < ch; ++j) across.solveRow(fit + static_cast<ptrdiff_t>(j) * cw);
        down.solveColumns(fit, cw);
    }
}

// Each pixel's Y, given the colour the player interpolates for it from the
// samples as written: down each column first, a row at a time, then across.
void ChromaFit::fitLuma(const Image& frame) {
    const int32_t cw = width / 2, ch = height / 2;
    const size_t plane = fitted.size() / 2;
    float* cbRow = columnSums.data();
    float* crRow = cbRow + cw;
    for (int32_t y = 0; y < height; ++y) {
        const Blend rows = blendOf(y, ch);
        for (int32_t i = 0; i < cw; ++i) {
            const size_t near =
                static_cast<size_t>(rows.near) * static_cast<size_t>(cw) + static_cast<size_t>(i);
            const size_t far =
                static_cast<size_t>(rows.far) * static_cast<size_t>(cw) + static_cast<size_t>(i);
            cbRow[i] = kNear * fitted[near] + kFar * fitted[far];
            crRow[i] = kNear * fitted[plane + near] + kFar * fitted[plane + far];
        }
        const uint32_t* source = sourceRowOf(frame, y);
        uint8_t* lumaRow = yuv.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            const Blend columns = columnBlends[static_cast<size_t>(x)];
            const float cb = kNear * cbRow[columns.near] + kFar * cbRow[columns.far];
            const float cr = kNear * crRow[columns.near] + kFar * crRow[columns.far];
            const std::array<float, 3> add = {kRedPerCr * cr, kGreenPerCb * cb + kGreenPerCr * cr,
                                              kBluePerCb * cb};
            const float level = bestLevel(add, channels(source[sourceColumn[static_cast<size_t>(x)]]));
            lumaRow[x] = toByte(16.0f + level * kLumaScale);
        }
    }
}
