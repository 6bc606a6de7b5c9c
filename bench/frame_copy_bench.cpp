// A frame's plain copies in each layout of placed_frame.h: one memcpy of the
// whole frame (the yardstick of the converters and copies), and the
// background copied row by row as Image::copyOpaque copies it into the frame
// (StepCopy runs copyOpaque itself on the show's own images).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "placed_frame.h"
#include "raster/pixel_copy.h"

namespace {

using placed_frame::kHeight;
using placed_frame::kWidth;
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 4;

void frameMemcpy(benchmark::State& state, const placed_frame::Layout& layout) {
    placed_frame::Frames frames(layout, kFrameBytes);
    for (auto _ : state) {
        std::memcpy(frames.destination.words(), frames.source.words(), kFrameBytes);
        benchmark::DoNotOptimize(frames.destination.words());
        benchmark::ClobberMemory();
    }
}

void backgroundCopy(benchmark::State& state, const placed_frame::Layout& layout) {
    placed_frame::Frames frames(layout, kFrameBytes);
    uint32_t* frame = frames.destination.words();
    const uint32_t* background = frames.source.words();
    for (auto _ : state) {
        for (int32_t r = 0; r < kHeight; ++r)
            copyPixelWords(frame + r * kWidth, background + r * kWidth, kWidth);
        benchmark::DoNotOptimize(frame);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    for (const placed_frame::Layout& layout : placed_frame::kLayouts) {
        benchmark::RegisterBenchmark((std::string("FrameMemcpy/") + layout.name).c_str(), frameMemcpy, layout)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BackgroundCopy/") + layout.name).c_str(), backgroundCopy,
                                     layout)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
