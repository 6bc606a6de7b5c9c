#include "display/sdl/frame_pacer.h"

#include <thread>

PacerClock::duration refreshPeriod(int32_t refreshRate) {
    const int32_t rate = refreshRate > 0 ? refreshRate : kFallbackRefreshRate;
    return std::chrono::duration_cast<PacerClock::duration>(std::chrono::nanoseconds(1000000000LL / rate));
}

PacerClock::time_point nextFrameSlot(PacerClock::time_point lastSlot, PacerClock::time_point now,
                                     PacerClock::duration period) {
    const PacerClock::time_point slot = lastSlot + period;
    return slot < now ? now : slot;
}

void startFramePacer(FramePacer& pacer, int32_t refreshRate) {
    pacer.period = refreshPeriod(refreshRate);
    pacer.lastSlot = PacerClock::now() - pacer.period;
}

void waitForFrameSlot(FramePacer& pacer) {
    const PacerClock::time_point slot = nextFrameSlot(pacer.lastSlot, PacerClock::now(), pacer.period);
    // sleep_until uses the monotonic clock with sub-millisecond resolution.
    std::this_thread::sleep_until(slot);
    pacer.lastSlot = slot;
}
