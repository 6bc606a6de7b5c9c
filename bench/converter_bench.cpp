// One 640x480 frame through each row converter, row by row as a presenter
// converts it into a locked surface; compare with FrameMemcpy.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "display/converters.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

template <RowConverter converter, int kBytesPerPixel>
void ConvertFrame(benchmark::State& state) {
    std::vector<uint32_t> frame(kWidth * kHeight);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint32_t>(i * 2654435761u);
    const int pitch = kWidth * kBytesPerPixel;
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * kHeight);
    for (auto _ : state) {
        for (int r = 0; r < kHeight; ++r)
            converter(frame.data() + r * kWidth, surface.data() + r * pitch, kWidth);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(ConvertFrame<convertRowXrgb32, 4>)->Name("ConvertFrame/Xrgb32")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowXbgr32, 4>)->Name("ConvertFrame/Xbgr32")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowRgb24, 3>)->Name("ConvertFrame/Rgb24")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowBgr24, 3>)->Name("ConvertFrame/Bgr24")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowRgb565, 2>)->Name("ConvertFrame/Rgb565")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowBgr565, 2>)->Name("ConvertFrame/Bgr565")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowRgb555, 2>)->Name("ConvertFrame/Rgb555")->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertFrame<convertRowBgr555, 2>)->Name("ConvertFrame/Bgr555")->Unit(benchmark::kMicrosecond);

}  // namespace
