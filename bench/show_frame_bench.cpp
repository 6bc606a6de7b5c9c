// One complete show frame against a plain copy of one 640x480 frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_scene.h"

namespace {

constexpr size_t kFrameBytes = size_t{640} * 480 * sizeof(uint32_t);

void FrameMemcpy(benchmark::State& state) {
    std::vector<uint32_t> from(kFrameBytes / 4, 0x00123456), to(kFrameBytes / 4);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFrameBytes));
}
BENCHMARK(FrameMemcpy);

// Every timed frame starts from the same mesh, generator and angles, so it
// composes the same picture: the frame at time of a 60 Hz run, after the
// jitter of its earlier frames (1800 of them before 70000 ms). Restoring
// the 225 vertices costs a few hundred nanoseconds.
void ShowFrame(benchmark::State& state) {
    const int32_t time = int32_t(state.range(0));
    bench_scene::Scene scene(time);
    const Show::Snapshot before = scene.show.snapshot();
    for (auto _ : state) {
        scene.show.restore(before);
        scene.show.composeShowFrame(time);
        benchmark::DoNotOptimize(scene.show.frame().getPixels());
        benchmark::ClobberMemory();
    }
    state.SetLabel(scene.label());
}
// 136635 ms is the frame of a 60 Hz run with the longest lines.
BENCHMARK(ShowFrame)
    ->ArgName("ms")
    ->Arg(10000)
    ->Arg(70000)
    ->Arg(120000)
    ->Arg(136635)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
