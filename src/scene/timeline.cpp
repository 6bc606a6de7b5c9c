#include "scene/timeline.h"

TimelineStep Timeline::next(int32_t previousReading, int32_t reading) {
    if (phase == TimelinePhase::Show && previousReading >= kShowEndTime) phase = TimelinePhase::Fade;
    if (phase == TimelinePhase::Fade && previousReading >= kFadeEndTime) phase = TimelinePhase::Over;
    switch (phase) {
        case TimelinePhase::Show: return {TimelinePhase::Show, 0};
        case TimelinePhase::Fade: return {TimelinePhase::Fade, fadeVolume(reading)};
        case TimelinePhase::Over: break;
    }
    return {TimelinePhase::Over, 0};
}

bool Timeline::finished(int32_t previousReading) const {
    return phase == TimelinePhase::Over || previousReading >= kFadeEndTime;
}
