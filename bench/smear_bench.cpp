// The smear of the lower half of a frame against a plain copy of one frame,
// side by side so that their ratio can be read from one run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "raster/image.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * sizeof(uint32_t);

void SmearFrameMemcpy(benchmark::State& state) {
    std::vector<uint32_t> from(kFrameBytes / 4, 0x00123456), to(kFrameBytes / 4);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFrameBytes));
}
BENCHMARK(SmearFrameMemcpy)->Unit(benchmark::kMicrosecond);

// The smear does the same work whatever the pixels hold, so the frame is
// filled once and smeared again and again, as every show frame does.
void SmearShowBand(benchmark::State& state) {
    Image frame(kWidth, kHeight);
    std::mt19937 rng(1);
    for (int64_t i = 0; i < int64_t{kWidth} * kHeight; ++i) frame.getPixels()[i] = rng() & 0x00FFFFFF;
    for (auto _ : state) {
        frame.blurRows(240, 479);
        benchmark::DoNotOptimize(frame.getPixels());
        benchmark::ClobberMemory();
    }
    // Pixels written per pass: from row 241 up to row 478 less two pixels.
    state.SetItemsProcessed(int64_t(state.iterations()) * (int64_t{kWidth} * 237 - 2));
}
BENCHMARK(SmearShowBand)->Unit(benchmark::kMicrosecond);

}  // namespace
