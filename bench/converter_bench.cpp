// One 640x480 frame through each row converter, row by row as a presenter
// converts it into a locked surface, in each layout of placed_frame.h;
// compare with FrameMemcpy in the same layout.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "display/converters.h"
#include "placed_frame.h"

namespace {

using placed_frame::kHeight;
using placed_frame::kWidth;

struct Converter {
    const char* name;
    RowConverter convert;
    int32_t bytesPerPixel;
};

constexpr Converter kConverters[] = {
    {"Xrgb32", convertRowXrgb32, 4}, {"Xbgr32", convertRowXbgr32, 4}, {"Rgb24", convertRowRgb24, 3},
    {"Bgr24", convertRowBgr24, 3},   {"Rgb565", convertRowRgb565, 2}, {"Bgr565", convertRowBgr565, 2},
    {"Rgb555", convertRowRgb555, 2}, {"Bgr555", convertRowBgr555, 2},
};

void convertFrame(benchmark::State& state, const Converter& converter, const placed_frame::Layout& layout) {
    const int32_t pitch = kWidth * converter.bytesPerPixel;
    placed_frame::Frames frames(layout, size_t(pitch) * kHeight);
    const uint32_t* source = frames.source.words();
    auto* surface = reinterpret_cast<uint8_t*>(frames.destination.words());
    for (auto _ : state) {
        for (int32_t r = 0; r < kHeight; ++r)
            converter.convert(source + r * kWidth, surface + r * pitch, kWidth);
        benchmark::DoNotOptimize(surface);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    for (const Converter& converter : kConverters) {
        for (const placed_frame::Layout& layout : placed_frame::kLayouts) {
            const std::string name = std::string("ConvertFrame/") + converter.name + "/" + layout.name;
            benchmark::RegisterBenchmark(name.c_str(), convertFrame, converter, layout)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace
