#pragma once
// Keeps presenting at no more than the display's refresh rate where the
// presentation itself does not wait for the vertical blank (some drivers, the
// software renderer). Where vsync already paces, the waits come out as nothing.
#include <chrono>
#include <cstdint>

using PacerClock = std::chrono::steady_clock;

struct FramePacer {
    PacerClock::duration period;
    PacerClock::time_point lastSlot;
};

constexpr int32_t kFallbackRefreshRate = 60;  // when the display does not report one

// Period of one refresh; rates of 0 or below count as unknown.
PacerClock::duration refreshPeriod(int32_t refreshRate);

// The moment for the next present: one period after the previous one, or now
// when that moment has already passed (a late frame is not made up for).
PacerClock::time_point nextFrameSlot(PacerClock::time_point lastSlot, PacerClock::time_point now,
                                     PacerClock::duration period);

void startFramePacer(FramePacer& pacer, int32_t refreshRate);
// Sleeps until the next frame slot; call right before presenting.
void waitForFrameSlot(FramePacer& pacer);
