// Speed of demo_capture's frame loop at 60 fps over the whole timeline:
// composing only, and composing plus writing raw frame files into a RAM
// folder. Run from the folder with the data files (the programs' folder).
// Then the 4:2:0 planes of one 1280x960 video frame, beside copying that
// many RGB words, the least any conversion of the frame costs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "chroma_fit.h"
#include "driver/run_loop.h"
#include "frame_files.h"
#include "scene/frame_clock.h"

namespace {

constexpr int32_t kRealTimeFps = 60;
constexpr const char* kRamFolder = "/dev/shm";

class DiscardFrames : public Screen {
public:
    bool present(const Image& picture) override {
        benchmark::DoNotOptimize(picture.getPixels()[kScreenWidth * 240]);
        ++presented;
        return true;
    }
    int32_t presented = 0;
};

// Writes every frame like --frames --raw, then removes the file at once,
// so the run needs one frame of RAM instead of eleven gigabytes.
class WriteAndDropFrames : public Screen {
public:
    explicit WriteAndDropFrames(const std::string& dir) : dir(dir), files(dir, true, {}) {}

    bool present(const Image& picture) override {
        const int32_t frame = presented++;
        if (!files.write(frame, picture)) return false;
        std::snprintf(path, sizeof path, "%s/frame_%05d.raw", dir.c_str(), frame);
        std::error_code error;
        return std::filesystem::remove(path, error);
    }
    const std::string& error() const { return files.error(); }
    int32_t presented = 0;

private:
    std::string dir;
    FrameFiles files;
    char path[512];
};

// The capture's start-up without its outputs: the images from the working
// folder and the scene set up; the frame loop at 60 fps into a screen.
class CaptureRun {
public:
    CaptureRun() {
        show.loadImages();
        show.setUp();
    }
    FrameResult run(Screen& screen) { return runFrames(show, clock, screen); }

private:
    Show show;
    FrameClock clock{kRealTimeFps};
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
        CaptureRun capture;
        DiscardFrames sink;
        state.ResumeTiming();
        capture.run(sink);
        const int32_t ran = sink.presented;
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
        CaptureRun capture;
        WriteAndDropFrames sink(dir);
        state.ResumeTiming();
        if (capture.run(sink) == FrameResult::Stopped) {
            state.SkipWithError(sink.error().c_str());
            break;
        }
        frames += sink.presented;
    }
    std::filesystem::remove(dir, error);
    reportRate(state, frames);
}
BENCHMARK(BM_CaptureWriteRawToRam60)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

constexpr int32_t kVideoWidth = 1280, kVideoHeight = 960;

// The composed frame at 50 s (at 10 fps): the fit's cost depends on how many
// pixels clip, so it is timed on a frame of the demo.
class KeepFrame : public Screen {
public:
    explicit KeepFrame(int32_t wanted) : wanted(wanted) {}
    bool present(const Image& picture) override {
        if (presented++ < wanted) return true;
        std::memcpy(kept.getPixels(), picture.getPixels(), sizeof(uint32_t) * kScreenWidth * kScreenHeight);
        return false;  // enough: the run stops here
    }
    Image kept{kScreenWidth, kScreenHeight};

private:
    int32_t wanted;
    int32_t presented = 0;
};

Image demoFrame() {
    Show show;
    show.loadImages();
    show.setUp();
    FrameClock clock{10};
    KeepFrame keep(500);
    runFrames(show, clock, keep);
    return std::move(keep.kept);
}

void BM_VideoPlanesFit1280x960(benchmark::State& state) {
    const Image frame = demoFrame();
    ChromaFit fit(kVideoWidth, kVideoHeight);
    for (auto _ : state) {
        fit.convert(frame);
        benchmark::DoNotOptimize(fit.planes().data());
    }
}
BENCHMARK(BM_VideoPlanesFit1280x960)->Unit(benchmark::kMillisecond);

void BM_VideoFrameCopy1280x960(benchmark::State& state) {
    std::vector<uint32_t> from(size_t{kVideoWidth} * kVideoHeight, 0x336699), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_VideoFrameCopy1280x960)->Unit(benchmark::kMillisecond);

}  // namespace
