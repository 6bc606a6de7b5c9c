#include "scene/frame_clock.h"

int32_t frameReading(int32_t frame, int32_t fps) { return static_cast<int32_t>(int64_t{frame} * 1000 / fps); }

bool ClockedTimeline::next(Frame& frame) {
    const int32_t reading = frameReading(nextIndex, fps);
    const TimelineStep step = timeline.next(previousReading, reading);
    if (step.phase == TimelinePhase::Over) return false;
    frame = Frame{nextIndex, reading, step};
    ++nextIndex;
    previousReading = reading;
    return true;
}

FrameSchedule makeFrameSchedule(int32_t fps) {
    FrameSchedule schedule;
    schedule.fps = fps;
    ClockedTimeline timeline(fps);
    ClockedTimeline::Frame frame;
    while (timeline.next(frame)) {
        if (frame.step.phase == TimelinePhase::Show) schedule.showFrames = frame.index + 1;
        schedule.totalFrames = frame.index + 1;
    }
    return schedule;
}

std::string frameOutsideTimeline(int32_t frame, int32_t fps) {
    const int32_t totalFrames = makeFrameSchedule(fps).totalFrames;
    if (frame < totalFrames) return "";
    return "frame " + std::to_string(frame) + " is outside the timeline (frames 0 to " +
           std::to_string(totalFrames - 1) + " at " + std::to_string(fps) + " fps)";
}
