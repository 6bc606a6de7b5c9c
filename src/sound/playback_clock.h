#pragma once
// The song's clock: milliseconds of audio handed to the output, read as a
// smooth, never falling value although the audio callback reports its
// progress only once per buffer.
#include <atomic>
#include <cstdint>

// Nanoseconds of a monotonic wall clock, shared by the callback and readers.
int64_t wallClockNs();

// The progress the audio callback reported last.
struct OutputProgress {
    int64_t framesBefore = 0;  // frames handed before its buffer
    int64_t wallNs = 0;        // wall time of that callback
    int64_t framesHanded = 0;  // frames handed, its buffer included
};

// Carries OutputProgress from the audio thread to the reading thread without
// blocking either side: a sequence lock over atomic fields. One writer at a
// time; any number of readers.
class ProgressMailbox {
public:
    void publish(const OutputProgress& progress);
    OutputProgress read() const;

private:
    std::atomic<uint32_t> sequence_{0};
    std::atomic<int64_t> framesBefore_{0};
    std::atomic<int64_t> wallNs_{0};
    std::atomic<int64_t> framesHanded_{0};
};

// The reading side of the clock, used from one thread. Between callbacks it
// runs with the wall clock; it is steered gently toward the position of the
// buffer now playing, never passes the frames handed and never falls.
class SmoothClock {
public:
    void restart(int64_t wallNs);
    double readMs(const OutputProgress& progress, int64_t wallNs);

private:
    double ms_ = 0.0;
    int64_t lastWallNs_ = 0;
};
