#include "sound/playback_clock.h"

#include <algorithm>
#include <chrono>

#include "sound/sample_format.h"

namespace {

// The clock closes its distance to the output's position with this time
// constant, never faster or slower than the wall clock by more than
// kMaxSteer, so a late or early callback bends it instead of moving it.
constexpr double kSteerTimeMs = 250.0;
constexpr double kMaxSteer = 0.1;

double framesToMs(int64_t frames) { return static_cast<double>(frames) * 1000.0 / kSampleRate; }

double nsToMs(int64_t ns) { return static_cast<double>(ns) / 1e6; }

}  // namespace

int64_t wallClockNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// All accesses are sequentially consistent: a reader that sees a field of an
// unfinished publication also sees the sequence number changed and retries.
void ProgressMailbox::publish(const OutputProgress& progress) {
    sequence_.fetch_add(1);
    framesBefore_.store(progress.framesBefore);
    wallNs_.store(progress.wallNs);
    framesHanded_.store(progress.framesHanded);
    sequence_.fetch_add(1);
}

OutputProgress ProgressMailbox::read() const {
    for (;;) {
        const uint32_t before = sequence_.load();
        OutputProgress progress{framesBefore_.load(), wallNs_.load(), framesHanded_.load()};
        if ((before & 1u) == 0 && sequence_.load() == before) return progress;
    }
}

void SmoothClock::restart(int64_t wallNs) {
    ms_ = 0.0;
    lastWallNs_ = wallNs;
}

double SmoothClock::readMs(const OutputProgress& progress, int64_t wallNs) {
    const double elapsedMs = nsToMs(std::max<int64_t>(wallNs - lastWallNs_, 0));
    lastWallNs_ = std::max(lastWallNs_, wallNs);

    // Where the output is now: the start of the buffer handed last plus the
    // wall time since, up to the end of what was handed.
    const double handedMs = framesToMs(progress.framesHanded);
    const double sinceCallbackMs = nsToMs(std::max<int64_t>(wallNs - progress.wallNs, 0));
    const double targetMs = std::min(framesToMs(progress.framesBefore) + sinceCallbackMs, handedMs);

    const double freeRunMs = ms_ + elapsedMs;
    const double share = std::min(elapsedMs / kSteerTimeMs, 1.0);
    const double limit = kMaxSteer * elapsedMs;
    const double correction = std::clamp((targetMs - freeRunMs) * share, -limit, limit);
    ms_ = std::max(ms_, std::min(freeRunMs + correction, handedMs));
    return ms_;
}
