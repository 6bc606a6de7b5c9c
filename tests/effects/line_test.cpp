#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "effects/wireframe.h"

namespace {

using Pixel = std::pair<int32_t, int32_t>;
constexpr uint32_t kInk = 0x00ABCDEF;

// The walk step by step, every pixel tested on its own. Returns the number
// of pixels set.
int64_t referenceLine(Image& target, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
    const int64_t W = target.getWidth();
    const int64_t H = target.getHeight();
    int64_t plotted = 0;
    auto plot = [&](int64_t x, int64_t y) {
        if (0 < x && x < W && 0 < y && y < H) {
            target.getPixels()[y * W + x] = colour;
            ++plotted;
        }
    };
    const int64_t ax = std::abs(x2 - x1);
    const int64_t ay = std::abs(y2 - y1);
    if (ax > ay) {
        if (x2 - x1 < 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int64_t ystep = y2 > y1 ? 1 : -1;
        int64_t e = -(ax / 2);
        int64_t y = y1;
        for (int64_t x = x1; x <= x2; ++x) {
            plot(x, y);
            e += ay;
            if (e >= 0) {
                y += ystep;
                e -= ax;
            }
        }
    } else {
        if (y2 - y1 < 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int64_t xstep = x2 > x1 ? 1 : -1;
        int64_t e = -(ay / 2);
        int64_t x = x1;
        for (int64_t y = y1; y <= y2; ++y) {
            plot(x, y);
            e += ax;
            if (e >= 0) {
                x += xstep;
                e -= ay;
            }
        }
    }
    return plotted;
}

std::set<Pixel> inkedPixels(const Image& image) {
    std::set<Pixel> set;
    for (int32_t y = 0; y < image.getHeight(); ++y) {
        for (int32_t x = 0; x < image.getWidth(); ++x) {
            if (image.getPixels()[y * image.getWidth() + x] != 0) set.insert({x, y});
        }
    }
    return set;
}

std::set<Pixel> linePixels(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t W = 640, int32_t H = 480) {
    Image target(W, H);
    drawLine(target, x1, y1, x2, y2, kInk);
    return inkedPixels(target);
}

// Draws the line and its reverse with drawLine and the line with the
// reference walk; all three images must be equal.
class LineChecker {
public:
    LineChecker(int32_t W, int32_t H) : fast(W, H), reverse(W, H), reference(W, H) {}

    bool matches(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        fast.fill(0);
        reverse.fill(0);
        reference.fill(0);
        drawLine(fast, x1, y1, x2, y2, kInk);
        drawLine(reverse, x2, y2, x1, y1, kInk);
        if (referenceLine(reference, x1, y1, x2, y2, kInk) > 0) ++visibleLines;
        const size_t bytes = size_t(fast.getWidth()) * size_t(fast.getHeight()) * 4;
        return std::memcmp(fast.getPixels(), reference.getPixels(), bytes) == 0 &&
               std::memcmp(reverse.getPixels(), reference.getPixels(), bytes) == 0;
    }

    // Lines checked so far that set at least one pixel.
    int visibleLines = 0;

private:
    Image fast, reverse, reference;
};

TEST(DrawLine, ListedPixelSets) {
    EXPECT_EQ(linePixels(5, 5, 9, 7), (std::set<Pixel>{{5, 5}, {6, 6}, {7, 6}, {8, 7}, {9, 7}}));
    EXPECT_EQ(linePixels(9, 7, 5, 5), (std::set<Pixel>{{5, 5}, {6, 6}, {7, 6}, {8, 7}, {9, 7}}));
    EXPECT_EQ(linePixels(5, 5, 7, 9), (std::set<Pixel>{{5, 5}, {6, 6}, {6, 7}, {7, 8}, {7, 9}}));
    EXPECT_EQ(linePixels(3, 3, 6, 6), (std::set<Pixel>{{3, 3}, {4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(linePixels(10, 10, 14, 10),
              (std::set<Pixel>{{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}}));
    EXPECT_EQ(linePixels(7, 8, 7, 8), (std::set<Pixel>{{7, 8}}));
}

TEST(DrawLine, MinorStepIsMinusOneWhenTheMinorCoordinateStays) {
    EXPECT_EQ(linePixels(10, 10, 11, 10), (std::set<Pixel>{{10, 10}, {11, 9}}));
    EXPECT_EQ(linePixels(10, 10, 10, 11), (std::set<Pixel>{{10, 10}, {9, 11}}));
}

TEST(DrawLine, NeverColumnZeroOrRowZeroButTheLastOnes) {
    EXPECT_TRUE(linePixels(0, 0, 3, 0).empty());
    std::set<Pixel> row10;
    for (int32_t x = 1; x <= 639; ++x) row10.insert({x, 10});
    EXPECT_EQ(linePixels(-100, 10, 700, 10), row10);
    EXPECT_EQ(linePixels(638, 478, 641, 481), (std::set<Pixel>{{638, 478}, {639, 479}}));
}

TEST(DrawLine, EndpointsAtTheLimitsOfThirtyTwoBits) {
    constexpr int32_t lo = std::numeric_limits<int32_t>::min();
    constexpr int32_t hi = std::numeric_limits<int32_t>::max();
    std::set<Pixel> row10, diagonal;
    for (int32_t x = 1; x <= 639; ++x) row10.insert({x, 10});
    for (int32_t k = 1; k <= 479; ++k) diagonal.insert({k, k});
    EXPECT_EQ(linePixels(lo, 10, hi, 10), row10);
    EXPECT_EQ(linePixels(hi, 10, lo, 10), row10);
    EXPECT_EQ(linePixels(lo, lo, hi, hi), diagonal);
    // Anti-diagonal x + y = 500 walked from beyond the limits of 32-bit differences.
    std::set<Pixel> antiDiagonal;
    for (int32_t x = 21; x <= 499; ++x) antiDiagonal.insert({x, 500 - x});
    EXPECT_EQ(linePixels(-2147483000, 2147483500, 2147483000, -2147482500), antiDiagonal);
}

TEST(DrawLine, MatchesTheStepwiseWalkOnShortLines) {
    // Every line between points of a small window around a 13 x 9 target:
    // all lengths, slopes, ties and the clipping at every edge.
    LineChecker check(13, 9);
    int failures = 0;
    for (int32_t x1 = -3; x1 <= 15; ++x1)
        for (int32_t y1 = -3; y1 <= 11; ++y1)
            for (int32_t x2 = -3; x2 <= 15; ++x2)
                for (int32_t y2 = -3; y2 <= 11; ++y2)
                    if (!check.matches(x1, y1, x2, y2) && ++failures <= 5)
                        ADD_FAILURE() << "line " << x1 << "," << y1 << " -> " << x2 << "," << y2;
    EXPECT_EQ(failures, 0);
}

// Lines that cross or pass near a target from endpoints up to 200000
// pixels away: a far endpoint, a point near the target, and the other
// endpoint on the far side of that point, somewhere along the same line.
struct FarLine {
    int32_t x1, y1, x2, y2;
};

FarLine randomFarLine(std::mt19937_64& rng, int32_t W, int32_t H) {
    auto uniform = [&](int64_t lo, int64_t hi) { return lo + int64_t(rng() % uint64_t(hi - lo + 1)); };
    const int64_t px = uniform(-3, W + 2);
    const int64_t py = uniform(-3, H + 2);
    int64_t fx = uniform(-200000, 200000);
    int64_t fy = uniform(-200000, 200000);
    switch (rng() % 8) {  // horizontal, vertical, diagonal, near-axis
        case 0: fy = py; break;
        case 1: fx = px; break;
        case 2: fy = py + (fx - px); break;
        case 3: fy = py + (px - fx); break;
        case 4: fy = py + uniform(-3, 3); break;
        default: break;
    }
    const int64_t t = uniform(0, 1200);  // the second endpoint beyond the near point
    const int64_t sx = px + (px - fx) * t / 1024 + uniform(-2, 2);
    const int64_t sy = py + (py - fy) * t / 1024 + uniform(-2, 2);
    return {int32_t(fx), int32_t(fy), int32_t(sx), int32_t(sy)};
}

void checkFarLines(int32_t W, int32_t H, int count, uint64_t seed) {
    std::mt19937_64 rng(seed);
    LineChecker check(W, H);
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        const FarLine l = randomFarLine(rng, W, H);
        if (!check.matches(l.x1, l.y1, l.x2, l.y2) && ++failures <= 5)
            ADD_FAILURE() << "line " << l.x1 << "," << l.y1 << " -> " << l.x2 << "," << l.y2;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(check.visibleLines, count / 2);  // most of them do cross the target
}

TEST(DrawLine, MatchesTheStepwiseWalkFromFarAway) { checkFarLines(37, 23, 3000, 0x5EED0001); }

TEST(DrawLine, MatchesTheStepwiseWalkFromFarAwayOnAFullFrame) { checkFarLines(640, 480, 300, 0x5EED0002); }

TEST(DrawLine, MatchesTheStepwiseWalkThroughTheCorners) {
    std::mt19937_64 rng(0x5EED0003);
    const int32_t W = 31, H = 17;
    const Pixel corners[] = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {1, 1}, {W, H}};
    LineChecker check(W, H);
    int failures = 0;
    for (int i = 0; i < 2000; ++i) {
        const Pixel c = corners[i % 6];
        const int64_t fx = int64_t(rng() % 400001) - 200000;
        const int64_t fy = int64_t(rng() % 400001) - 200000;
        // Through the corner, continuing a random part of the way beyond it.
        const int64_t t = int64_t(rng() % 1025);
        const int32_t x2 = int32_t(c.first + (c.first - fx) * t / 1024);
        const int32_t y2 = int32_t(c.second + (c.second - fy) * t / 1024);
        if (!check.matches(int32_t(fx), int32_t(fy), x2, y2) && ++failures <= 5)
            ADD_FAILURE() << "line " << fx << "," << fy << " -> " << x2 << "," << y2;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(check.visibleLines, 1000);
}

}  // namespace
