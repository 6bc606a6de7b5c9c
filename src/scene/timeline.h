#pragma once
// The presentation's timeline: the show until 150 s, then 10 s of fade in
// which the music's volume falls and the last picture darkens frame by frame.
// This is the one home of the phases and of the fade's volumes: the Show
// steps it for every frame it composes, and a host that needs the phases
// without pictures (the capture's soundtrack) steps it on its own against
// the same readings.
#include <cstdint>

#include "effects/choreography.h"

// The music's volume when the fade begins: its full volume.
inline constexpr int32_t kFadeStartVolume = 255;

// Music volume of a fade frame: 255 at 150000 ms falling to 1 at 159999 ms,
// below 0 past 160040 ms; not clamped.
inline int32_t fadeVolume(int32_t t) {
    // 64-bit intermediate: the product cannot overflow for any reading.
    return static_cast<int32_t>((int64_t{kShowEndTime} - t) * kFadeStartVolume / kFadeLength +
                                kFadeStartVolume);
}

enum class TimelinePhase { Show, Fade, Over };

struct TimelineStep {
    TimelinePhase phase = TimelinePhase::Over;
    int32_t volume = 0;  // a fade frame's music volume
};

class Timeline {
public:
    // The step for a frame read at `reading`, decided by the reading of the
    // frame before it (0 before the first frame): a show frame while that
    // reading is below the show end, then fade frames while it is below the
    // fade end, then Over. A phase once left is left for good, so a fade
    // reading that falls back below the show end still fades.
    TimelineStep next(int32_t previousReading, int32_t reading);
    // True once next() can only answer Over.
    bool finished(int32_t previousReading) const;

private:
    TimelinePhase phase = TimelinePhase::Show;
};
