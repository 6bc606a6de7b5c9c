// portableSin/portableCos against the C runtime's sin/cos on arguments like
// the demo's: the wave's angles up to ~450 and the scroller's up to ~680.
// The software variants are what runs without an FMA instruction.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "raster/portable_trig.h"

namespace {

std::vector<double> demoLikeAngles() {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> angle(0.0, 680.0);
    std::vector<double> angles(4096);
    for (double& a : angles) a = angle(rng);
    return angles;
}

template <double (*Function)(double)>
void Trig(benchmark::State& state) {
    const std::vector<double> angles = demoLikeAngles();
    for (auto _ : state) {
        double sum = 0.0;
        for (double a : angles) sum += Function(a);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(angles.size()));
}

double libSin(double x) { return std::sin(x); }
double libCos(double x) { return std::cos(x); }

BENCHMARK(Trig<libSin>)->Name("LibSin")->Unit(benchmark::kMicrosecond);
BENCHMARK(Trig<portableSin>)->Name("PortableSin")->Unit(benchmark::kMicrosecond);
BENCHMARK(Trig<portable_trig_detail::sinWithSoftwareFma>)->Name("PortableSinSoftwareFma")->Unit(benchmark::kMicrosecond);
BENCHMARK(Trig<libCos>)->Name("LibCos")->Unit(benchmark::kMicrosecond);
BENCHMARK(Trig<portableCos>)->Name("PortableCos")->Unit(benchmark::kMicrosecond);
BENCHMARK(Trig<portable_trig_detail::cosWithSoftwareFma>)->Name("PortableCosSoftwareFma")->Unit(benchmark::kMicrosecond);

}  // namespace
