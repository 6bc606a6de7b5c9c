#pragma once
// Which frames a capture at a fixed frame rate holds, and the clock reading
// of each: frame k reads (k x 1000) / fps milliseconds. The driver shows
// frames while the previous reading is below the show end and fades while it
// is below the fade end; one frame count runs through both phases.
#include <cstdint>

inline constexpr int32_t kMinCaptureFps = 1;
inline constexpr int32_t kMaxCaptureFps = 1000;

struct FrameSchedule {
    int32_t fps = 0;
    int32_t showFrames = 0;   // frames 0 .. showFrames - 1 are show frames
    int32_t totalFrames = 0;  // frames showFrames .. totalFrames - 1 are fade frames
};

// Clock reading of frame k at fps frames per second, integer division.
int32_t frameReading(int32_t frame, int32_t fps);

// The schedule for fps in kMinCaptureFps .. kMaxCaptureFps.
FrameSchedule makeFrameSchedule(int32_t fps);

inline bool isShowFrame(const FrameSchedule& schedule, int32_t frame) { return frame < schedule.showFrames; }

// Reading of the last frame: the length of the capture in milliseconds.
inline int32_t captureLengthMs(const FrameSchedule& schedule) {
    return frameReading(schedule.totalFrames - 1, schedule.fps);
}
