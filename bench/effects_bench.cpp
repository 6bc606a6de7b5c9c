// The steps of a show frame one by one, each on the scene as it stands at
// the given music time (a 60 Hz run's jitter included).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <utility>

#include "effects/scroller.h"
#include "effects/wave.h"
#include "effects/wireframe.h"
#include "bench_scene.h"

namespace {

constexpr int32_t kSmearTop = 240;
constexpr int32_t kSmearBottom = 479;

// The show at the benchmark's time with that frame composed, a canvas that
// holds the frame, and a copy of the mesh for the steps that move it.
struct StepScene {
    bench_scene::Scene scene;
    const ShowImages& images;
    Image canvas{kScreenWidth, kScreenHeight};
    VertexList vertices{kMeshVertexCount};
    explicit StepScene(const benchmark::State& state)
        : scene(int32_t(state.range(0))), images(scene.show.images()) {
        scene.show.composeShowFrame(int32_t(state.range(0)));
        canvas.copyOpaque(scene.show.frame(), 0, 0);
        for (int32_t i = 0; i < kMeshVertexCount; ++i) vertices.items[i] = scene.show.vertices().items[i];
    }
    int32_t time() const { return scene.show.musicTime(); }
};

void finish(const Image& canvas) {
    benchmark::DoNotOptimize(canvas.getPixels());
    benchmark::ClobberMemory();
}

void StepCopy(benchmark::State& state) {
    StepScene s(state);
    for (auto _ : state) {
        s.canvas.copyOpaque(s.images.background, 0, 0);
        finish(s.canvas);
    }
}

void StepScroller(benchmark::State& state) {
    StepScene s(state);
    for (auto _ : state) {
        drawScroller(s.canvas, s.images.font, s.time(), s.scene.show.scrollText());
        finish(s.canvas);
    }
}

void StepWaveProjection(benchmark::State& state) {
    StepScene s(state);
    const double spin = s.scene.show.spinAngle();
    const double rowPhase = s.scene.show.rowPhase();
    for (auto _ : state) {
        waveMesh(s.vertices, 5.0 * spin, rowPhase, s.time());
        projectMesh(s.vertices, spin, kMeshTilt);
        benchmark::DoNotOptimize(s.vertices.items);
        benchmark::ClobberMemory();
    }
}

void StepWireframe(benchmark::State& state) {
    StepScene s(state);
    for (auto _ : state) {
        drawWireframe(s.scene.show.triangles(), s.canvas);
        finish(s.canvas);
    }
}

void StepSmear(benchmark::State& state) {
    StepScene s(state);
    for (auto _ : state) {
        s.canvas.blurRows(kSmearTop, kSmearBottom);
        finish(s.canvas);
    }
}

void StepFlares(benchmark::State& state) {
    StepScene s(state);
    for (auto _ : state) {
        drawFlares(s.scene.show.vertices(), s.canvas, s.images.flare);
        finish(s.canvas);
    }
}

// For comparison: the wireframe with every step of every line walked and
// tested, as the line routine would do without its clipping.
void literalLine(Image& target, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour) {
    const int64_t W = target.getWidth();
    const int64_t H = target.getHeight();
    const bool alongX = std::llabs(x2 - x1) > std::llabs(y2 - y1);
    if (!alongX) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int64_t rise = std::llabs(y2 - y1);
    const int64_t length = x2 - x1;
    const int64_t step = y2 > y1 ? 1 : -1;
    int64_t e = -(length / 2);
    int64_t b = y1;
    for (int64_t a = x1; a <= x2; ++a) {
        const int64_t x = alongX ? a : b;
        const int64_t y = alongX ? b : a;
        if (x > 0 && x < W && y > 0 && y < H) target.getPixels()[y * W + x] = colour;
        e += rise;
        if (e >= 0) {
            b += step;
            e -= length;
        }
    }
}

void StepWireframeLiteralWalk(benchmark::State& state) {
    StepScene s(state);
    const TriangleList& triangles = s.scene.show.triangles();
    for (auto _ : state) {
        for (int32_t i = 0; i < triangles.count; ++i) {
            const MeshVertex* c[3] = {triangles.items[i].corner0, triangles.items[i].corner1,
                                      triangles.items[i].corner2};
            for (int32_t e = 0; e < 3; ++e) {
                const MeshVertex& a = *c[e];
                const MeshVertex& b = *c[(e + 1) % 3];
                literalLine(s.canvas, a.screenX, a.screenY, b.screenX, b.screenY, edgeColour(a));
            }
        }
        finish(s.canvas);
    }
}

#define DEMO_STEP(name) \
    BENCHMARK(name)->ArgName("ms")->Arg(10000)->Arg(70000)->Arg(120000)->Unit(benchmark::kMicrosecond)

// The frame of a 60 Hz run whose lines are the longest: vertices behind the
// eye throw endpoints far out, and a full walk of its 588 lines takes about
// 2.5 million steps (at 70000 ms it is about 48 thousand).
constexpr int32_t kLongestLinesTime = 136635;

DEMO_STEP(StepCopy);
DEMO_STEP(StepScroller);
DEMO_STEP(StepWaveProjection);
DEMO_STEP(StepWireframe)->Arg(kLongestLinesTime);
DEMO_STEP(StepSmear);
DEMO_STEP(StepFlares);
DEMO_STEP(StepWireframeLiteralWalk)->Arg(kLongestLinesTime);

}  // namespace
