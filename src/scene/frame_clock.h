#pragma once
// The clock of the hosts that compose at a fixed frame rate (the capture
// and the page's check mode): frame k reads (k x 1000) / fps milliseconds.
// Stepping the timeline with it gives the frames of each phase.
#include <cstdint>
#include <string>

#include "scene/timeline.h"

inline constexpr int32_t kMinFrameRate = 1;
inline constexpr int32_t kMaxFrameRate = 1000;

// Clock reading of frame k at fps frames per second, integer division.
int32_t frameReading(int32_t frame, int32_t fps);

// The timeline stepped by the frame clock, without pictures.
class ClockedTimeline {
public:
    explicit ClockedTimeline(int32_t fps) : fps(fps) {}

    struct Frame {
        int32_t index = 0;
        int32_t reading = 0;
        TimelineStep step;
    };
    // The next frame; false once the timeline is over.
    bool next(Frame& frame);

private:
    int32_t fps;
    int32_t nextIndex = 0;
    int32_t previousReading = 0;
    Timeline timeline;
};

struct FrameSchedule {
    int32_t fps = 0;
    int32_t showFrames = 0;   // frames 0 .. showFrames - 1 are show frames
    int32_t totalFrames = 0;  // frames showFrames .. totalFrames - 1 are fade frames
};

// The schedule for fps in kMinFrameRate .. kMaxFrameRate.
FrameSchedule makeFrameSchedule(int32_t fps);

// Reading of the last frame: the length of the run in milliseconds.
inline int32_t captureLengthMs(const FrameSchedule& schedule) {
    return frameReading(schedule.totalFrames - 1, schedule.fps);
}

// Empty when frame lies in the timeline at fps; otherwise "frame K is
// outside the timeline (frames 0 to N at F fps)".
std::string frameOutsideTimeline(int32_t frame, int32_t fps);
