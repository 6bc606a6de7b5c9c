// The smear of the lower half of a frame; FrameMemcpy in the same program
// is the copy of one frame to read it against.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "raster/image.h"

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
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
