// Speed of demo_capture's frame loop at 60 fps over the whole timeline:
// composing only, and composing plus writing raw frame files into a RAM
// folder. Run from the folder with the data files (the programs' folder).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "frame_files.h"
#include "scene/frame_clock.h"
#include "timeline_replay.h"

namespace {

constexpr int32_t kRealTimeFps = 60;
constexpr const char* kRamFolder = "/dev/shm";

class DiscardFrames : public FrameSink {
public:
    bool present(int32_t, const Image& picture) override {
        benchmark::DoNotOptimize(picture.getPixels()[kScreenWidth * 240]);
        return true;
    }
};

// Writes every frame like --frames --raw, then removes the file at once,
// so the run needs one frame of RAM instead of eleven gigabytes.
class WriteAndDropFrames : public FrameSink {
public:
    explicit WriteAndDropFrames(const std::string& dir) : dir(dir), files(dir, true, {}) {}

    bool present(int32_t frame, const Image& picture) override {
        if (!files.write(frame, picture)) return false;
        std::snprintf(path, sizeof path, "%s/frame_%05d.raw", dir.c_str(), frame);
        std::error_code error;
        return std::filesystem::remove(path, error);
    }
    const std::string& error() const { return files.error(); }

private:
    std::string dir;
    FrameFiles files;
    char path[512];
};

void reportRate(benchmark::State& state, int64_t frames) {
    state.counters["frames_per_s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["x_real_time"] =
        benchmark::Counter(double(frames) / kRealTimeFps, benchmark::Counter::kIsRate);
}

void BM_CaptureCompose60(benchmark::State& state) {
    const int32_t expected = makeFrameSchedule(kRealTimeFps).totalFrames;
    int64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TimelineReplay replay;
        DiscardFrames sink;
        state.ResumeTiming();
        const int32_t ran = replay.run(kRealTimeFps, sink);
        if (ran != expected) state.SkipWithError("the timeline ran a different number of frames");
        frames += ran;
    }
    reportRate(state, frames);
}
BENCHMARK(BM_CaptureCompose60)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_CaptureWriteRawToRam60(benchmark::State& state) {
    const std::string dir =
        std::string(kRamFolder) + "/demo_capture_bench_" + std::to_string(std::random_device{}());
    std::error_code error;
    if (!std::filesystem::create_directory(dir, error)) {
        state.SkipWithError("cannot make a folder in /dev/shm");
        return;
    }
    int64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TimelineReplay replay;
        WriteAndDropFrames sink(dir);
        state.ResumeTiming();
        const int32_t ran = replay.run(kRealTimeFps, sink);
        if (ran < 0) {
            state.SkipWithError(sink.error().c_str());
            break;
        }
        frames += ran;
    }
    std::filesystem::remove(dir, error);
    reportRate(state, frames);
}
BENCHMARK(BM_CaptureWriteRawToRam60)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
