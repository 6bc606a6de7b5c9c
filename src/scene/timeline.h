#pragma once
// The presentation's timeline: the show until 150 s, then 10 s of fade in
// which the music's volume falls and the last picture darkens frame by frame.
#include <cstdint>

inline constexpr int32_t kShowEndTime = 150000;
inline constexpr int32_t kFadeEndTime = 160000;
inline constexpr int32_t kFadeLength = kFadeEndTime - kShowEndTime;

// The music's volume: 255 is full, 0 and below are silence.
inline constexpr int32_t kFullVolume = 255;

// Music volume of a fade frame: 255 at 150000 ms falling to 1 at 159999 ms,
// below 0 past 160040 ms; not clamped.
inline int32_t fadeVolume(int32_t t) {
    // 64-bit intermediate: the product cannot overflow for any reading.
    return static_cast<int32_t>((int64_t{kShowEndTime} - t) * kFullVolume / kFadeLength + kFullVolume);
}
