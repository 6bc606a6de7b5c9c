#include "frame_schedule.h"

#include "scene/timeline.h"

namespace {

// First frame whose reading reaches limitMs: (k x 1000) / fps >= limit holds
// exactly when k x 1000 >= limit x fps, so k = ceil(limit x fps / 1000).
int32_t firstFrameReaching(int32_t limitMs, int32_t fps) {
    const int64_t scaled = int64_t{limitMs} * fps;
    return static_cast<int32_t>((scaled + 999) / 1000);
}

}  // namespace

int32_t frameReading(int32_t frame, int32_t fps) {
    return static_cast<int32_t>(int64_t{frame} * 1000 / fps);
}

FrameSchedule makeFrameSchedule(int32_t fps) {
    FrameSchedule schedule;
    schedule.fps = fps;
    // The phase tests look at the previous frame's reading (0 before the
    // first frame), so the frame that first reaches a limit still belongs
    // to the phase that limit ends.
    schedule.showFrames = firstFrameReaching(kShowEndTime, fps) + 1;
    const int32_t fadeEnd = firstFrameReaching(kFadeEndTime, fps) + 1;
    schedule.totalFrames = fadeEnd > schedule.showFrames ? fadeEnd : schedule.showFrames;
    return schedule;
}
