// The line routine of the wireframe: an integer error-term walk along the
// longer axis. Endpoints may lie far outside the target (vertices behind the
// eye project up to ~160000 pixels away), so instead of stepping through
// the whole walk, the part of it whose pixels land inside the target is
// found in closed form and only that part is walked. The pixels set are
// exactly those of the full walk.
#include <algorithm>
#include <utility>

#include "effects/wireframe.h"

namespace {

// The walk in axis-neutral terms. The major coordinate runs from a1 to
// a1 + length; the minor one starts at b1 and moves by minorStep whenever the
// error term e, starting at -(length / 2) and raised by rise per step,
// reaches 0. Step n plots (a1 + n, b1 + minorStep * m(n)), where m(n) counts
// the minor moves made before it.
struct Walk {
    int64_t a1, b1;
    int64_t length;  // |major delta|
    int64_t rise;    // |minor delta|, never above length
    int64_t minorStep;
};

// The inclusive range of coordinates that may be plotted: column 0 and
// row 0 are never drawn.
struct AxisRange {
    int64_t lo, hi;
};

// A step that moves the minor coordinate leaves e in [-length, 0) when
// length >= 2 (the start value lies there too), so after n steps
//   m(n) = floor((e0 + n * rise) / length) + 1,  e(n) = e0 + n * rise - m(n) * length.
// Wide is the integer type that holds n * rise and m * length exactly.
template <typename Wide>
struct ClosedForm {
    const Walk& w;
    Wide e0;

    explicit ClosedForm(const Walk& walk) : w(walk), e0(-(walk.length / 2)) {}

    Wide movesBefore(int64_t n) const {
        const Wide acc = e0 + Wide(n) * w.rise;  // >= e0 >= -length
        return acc >= 0 ? acc / w.length + 1 : 0;
    }
    // First step whose move count is at least m (m >= 1); -1 if none.
    int64_t firstStepWithMoves(Wide m) const {
        if (w.rise == 0) return -1;
        const Wide need = (m - 1) * w.length - e0;  // > 0
        const Wide n = need / w.rise + (need % w.rise != 0 ? 1 : 0);
        return n > w.length ? -1 : int64_t(n);
    }
    // Last step whose move count is at most m (m >= 0).
    int64_t lastStepWithMoves(Wide m) const {
        if (w.rise == 0) return w.length;
        const Wide n = (m * w.length - e0 - 1) / w.rise;  // numerator >= 0
        return n > w.length ? w.length : int64_t(n);
    }
};

// The steps [first, last] whose pixels lie inside the target, and the
// minor coordinate and error term at the first of them.
struct VisibleRun {
    int64_t first, last;
    int64_t b;
    int64_t e;
    bool empty() const { return first > last; }
};

template <typename Wide>
VisibleRun findVisibleRun(const Walk& w, AxisRange major, AxisRange minor) {
    VisibleRun run{0, -1, 0, 0};
    int64_t first = std::max<int64_t>(0, major.lo - w.a1);
    int64_t last = std::min<int64_t>(w.length, major.hi - w.a1);
    if (first > last) return run;

    // The move counts that keep the minor coordinate inside its range.
    const int64_t mLo = w.minorStep > 0 ? minor.lo - w.b1 : w.b1 - minor.hi;
    const int64_t mHi = w.minorStep > 0 ? minor.hi - w.b1 : w.b1 - minor.lo;
    if (mHi < 0 || mLo > w.rise || mLo > mHi) return run;

    const ClosedForm<Wide> form(w);
    if (mLo > 0) {
        const int64_t n = form.firstStepWithMoves(mLo);
        if (n < 0) return run;
        first = std::max(first, n);
    }
    last = std::min(last, form.lastStepWithMoves(std::min(mHi, w.rise)));
    if (first > last) return run;

    const Wide moves = form.movesBefore(first);
    run.first = first;
    run.last = last;
    run.b = w.b1 + w.minorStep * int64_t(moves);
    run.e = int64_t(form.e0 + Wide(first) * w.rise - moves * w.length);
    return run;
}

// Plots the visible run; every pixel of it lies inside the target.
// majorStride and minorStride are the index offsets of one step along each axis.
void plotRun(uint32_t* pixels, int64_t index, const Walk& w, const VisibleRun& run, int64_t majorStride,
             int64_t minorStride, uint32_t colour) {
    const int64_t minorMove = w.minorStep * minorStride;
    int64_t e = run.e;
    for (int64_t n = run.first; n <= run.last; ++n) {
        pixels[index] = colour;
        index += majorStride;
        e += w.rise;
        if (e >= 0) {
            index += minorMove;
            e -= w.length;
        }
    }
}

// Walks of length 0 or 1 start with the error term at 0, where the closed
// form does not apply; they have at most two pixels and are walked in full.
void plotShortWalk(Image& target, const Walk& w, bool alongX, uint32_t colour) {
    const int64_t W = target.getWidth();
    const int64_t H = target.getHeight();
    int64_t b = w.b1;
    int64_t e = -(w.length / 2);
    for (int64_t n = 0; n <= w.length; ++n) {
        const int64_t x = alongX ? w.a1 + n : b;
        const int64_t y = alongX ? b : w.a1 + n;
        if (x > 0 && x < W && y > 0 && y < H) target.getPixels()[y * W + x] = colour;
        e += w.rise;
        if (e >= 0) {
            b += w.minorStep;
            e -= w.length;
        }
    }
}

void plotWalk(Image& target, const Walk& w, bool alongX, uint32_t colour) {
    if (w.length < 2) {
        plotShortWalk(target, w, alongX, colour);
        return;
    }
    const int64_t W = target.getWidth();
    const int64_t H = target.getHeight();
    const AxisRange columns{1, W - 1};
    const AxisRange rows{1, H - 1};
    const AxisRange major = alongX ? columns : rows;
    const AxisRange minor = alongX ? rows : columns;
    // Products of two deltas fit in 64 bits unless a delta reaches 2^31.
    constexpr int64_t kNarrowLimit = int64_t{1} << 31;
    const VisibleRun run = w.length < kNarrowLimit ? findVisibleRun<int64_t>(w, major, minor)
                                                   : findVisibleRun<__int128>(w, major, minor);
    if (run.empty()) return;
    const int64_t a = w.a1 + run.first;
    const int64_t x = alongX ? a : run.b;
    const int64_t y = alongX ? run.b : a;
    const int64_t index = y * W + x;
    if (alongX) {
        plotRun(target.getPixels(), index, w, run, 1, W, colour);
    } else {
        plotRun(target.getPixels(), index, w, run, W, 1, colour);
    }
}

}  // namespace

void drawLine(Image& target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    int64_t ax1 = x1, ay1 = y1, ax2 = x2, ay2 = y2;
    const int64_t dx = ax2 - ax1;
    const int64_t dy = ay2 - ay1;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    // The walk runs toward the larger major coordinate, so a line and its
    // reverse set the same pixels. A tie walks along y. The minor step is -1
    // when the minor coordinate does not change.
    const bool alongX = adx > ady;
    if (alongX ? dx < 0 : dy < 0) {
        std::swap(ax1, ax2);
        std::swap(ay1, ay2);
    }
    Walk w{};
    if (alongX) {
        w = Walk{ax1, ay1, adx, ady, ay2 > ay1 ? 1 : -1};
    } else {
        w = Walk{ay1, ax1, ady, adx, ax2 > ax1 ? 1 : -1};
    }
    plotWalk(target, w, alongX, colour);
}
