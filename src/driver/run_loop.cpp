#include "driver/run_loop.h"

#include "scene/frame_clock.h"

int32_t FrameClock::read() { return frameReading(nextFrame++, fps); }

FrameResult runFrame(Show& show, MusicClock& clock, Screen& screen) {
    if (show.finished()) return FrameResult::TimelineOver;
    const ShowStep step = show.step(clock.read());
    if (step.action == ShowAction::Stop) return FrameResult::TimelineOver;
    if (step.action == ShowAction::SetVolumeAndPresent) clock.setVolume(step.volume);
    return screen.present(show.frame()) ? FrameResult::Presented : FrameResult::Stopped;
}

FrameResult runFrames(Show& show, MusicClock& clock, Screen& screen) {
    FrameResult result = FrameResult::Presented;
    while (result == FrameResult::Presented) result = runFrame(show, clock, screen);
    return result;
}
