// The clock's steering, driven by simulated audio callbacks and wall times.
#include "sound/playback_clock.h"
#include "sound/sample_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

namespace {

constexpr int64_t kMs = 1'000'000;
constexpr int64_t kBufferFrames = 1024;

double framesToMs(int64_t frames) { return frames * 1000.0 / kSampleRate; }

// An output that asks for one buffer every periodNs, starting at firstNs.
struct SimulatedOutput {
    SimulatedOutput(int64_t period, int64_t firstCallback)
        : periodNs(period), nextCallbackNs(firstCallback) {}

    int64_t periodNs;
    int64_t nextCallbackNs;
    int64_t handed = 0;
    OutputProgress progress;

    void runUntil(int64_t nowNs) {
        while (nextCallbackNs <= nowNs) {
            progress = OutputProgress{handed, nextCallbackNs, handed + kBufferFrames};
            handed += kBufferFrames;
            nextCallbackNs += periodNs;
        }
    }
};

struct ReadStats {
    double firstMs = 0, lastMs = 0, maxStepPerMs = 0;
    bool fell = false;
};

// Reads the clock every readPeriodNs for durationNs of simulated time.
ReadStats readAlong(SmoothClock& clock, SimulatedOutput& output, int64_t readPeriodNs, int64_t durationNs) {
    ReadStats stats;
    double previous = 0;
    for (int64_t now = 0; now <= durationNs; now += readPeriodNs) {
        output.runUntil(now);
        const double ms = clock.readMs(output.progress, now);
        if (now == 0) stats.firstMs = ms;
        stats.fell = stats.fell || ms < previous;
        stats.maxStepPerMs = std::max(stats.maxStepPerMs, (ms - previous) / (double(readPeriodNs) / kMs));
        previous = ms;
    }
    stats.lastMs = previous;
    return stats;
}

TEST(SmoothClock, FollowsAnOutputRunningFastWithoutSteps) {
    // Buffers of 23.22 ms asked for every 22.22 ms: the output runs 4.5 % fast.
    const int64_t period = static_cast<int64_t>(framesToMs(kBufferFrames) / 1.045 * kMs);
    SimulatedOutput output{period, 2 * kMs};
    SmoothClock clock;
    clock.restart(0);
    const ReadStats stats = readAlong(clock, output, 16 * kMs, 20'000 * kMs);
    EXPECT_FALSE(stats.fell);
    EXPECT_LE(stats.maxStepPerMs, 1.1 + 1e-9);  // never more than the steering allows
    // After 20 s the clock sits on the output's position, within a buffer.
    const double outputMs =
        framesToMs(output.progress.framesBefore) + double(20'000 * kMs - output.progress.wallNs) / kMs;
    EXPECT_NEAR(stats.lastMs, outputMs, framesToMs(kBufferFrames));
    EXPECT_NEAR(stats.lastMs / 20'000.0, 1.045, 0.005);
}

TEST(SmoothClock, StaysAtZeroUntilAudioIsHanded) {
    SimulatedOutput output{23 * kMs, 200 * kMs};
    SmoothClock clock;
    clock.restart(0);
    output.runUntil(150 * kMs);
    EXPECT_EQ(clock.readMs(output.progress, 150 * kMs), 0.0);
}

TEST(SmoothClock, NeverRunsPastTheAudioHanded) {
    SimulatedOutput output{23 * kMs, 0};
    SmoothClock clock;
    clock.restart(0);
    output.runUntil(100 * kMs);  // five buffers, then the output stalls
    double ms = 0;
    for (int64_t now = 0; now <= 2'000 * kMs; now += 5 * kMs) ms = clock.readMs(output.progress, now);
    EXPECT_DOUBLE_EQ(ms, framesToMs(output.handed));
}

TEST(SmoothClock, ABurstOfCallbacksBendsTheClockInsteadOfMovingIt) {
    SimulatedOutput output{int64_t(framesToMs(kBufferFrames) * kMs), 0};
    SmoothClock clock;
    clock.restart(0);
    readAlong(clock, output, 1 * kMs, 1'000 * kMs);
    const int64_t burstAt = 1'001 * kMs;
    double previous = clock.readMs(output.progress, burstAt - kMs);
    // Four buffers asked for at once, as an output that refills its queue does.
    for (int i = 0; i < 4; ++i) {
        output.progress = OutputProgress{output.handed, burstAt, output.handed + kBufferFrames};
        output.handed += kBufferFrames;
    }
    output.nextCallbackNs = burstAt + output.periodNs;
    const int64_t end = burstAt + 2'000 * kMs;
    for (int64_t now = burstAt; now <= end; now += kMs) {
        output.runUntil(now);
        const double ms = clock.readMs(output.progress, now);
        ASSERT_GE(ms, previous);
        ASSERT_LE(ms - previous, 1.1 + 1e-9) << "at " << now / kMs << " ms";
        previous = ms;
    }
    // Within two seconds it has caught up with the output again.
    const double outputMs =
        framesToMs(output.progress.framesBefore) + double(end - output.progress.wallNs) / kMs;
    EXPECT_NEAR(previous, outputMs, 2.0);
}

TEST(ProgressMailbox, NeverHandsOutAMixOfTwoPublications) {
    ProgressMailbox mailbox;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int64_t n = 1; n <= 200'000; ++n) mailbox.publish(OutputProgress{n, n, n});
        done = true;
    });
    int64_t torn = 0;
    while (!done) {
        const OutputProgress read = mailbox.read();
        if (read.framesBefore != read.wallNs || read.wallNs != read.framesHanded) ++torn;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
