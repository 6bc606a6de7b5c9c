#pragma once
// The show's moments and rates in one place: when the grid starts to come
// apart and its wave turns strong, when the show ends and the fade with it,
// how fast the angles turn and the message scrolls and bobs, and how much
// the picture darkens. The effects and the timeline read them from here.
#include <cstdint>

// Moments, in milliseconds of music.
inline constexpr int32_t kJitterStartTime = 40000;  // after it, one vertex jitters per frame
inline constexpr int32_t kStrongWaveTime = 60000;   // from it on, the strong wave
inline constexpr int32_t kShowEndTime = 150000;     // the last show frame reads this or more
inline constexpr int32_t kFadeEndTime = 160000;     // the last fade frame reads this or more
inline constexpr int32_t kFadeLength = kFadeEndTime - kShowEndTime;

// Rates per millisecond of music: the grid's spin, its row phase, and the
// column phase as a multiple of the spin.
inline constexpr double kSpinPerMillisecond = 0.0002631578947368421;  // the double nearest 1/3800
inline constexpr double kRowPhasePerMillisecond = 0.0004;
inline constexpr double kColumnPhaseFactor = 5.0;

// The message moves one pixel left every 10 ms (100 pixels per second); its
// bob moves on by one character's step every 100 ms.
inline constexpr int32_t kScrollMsPerPixel = 10;
inline constexpr int32_t kBobMsPerStep = 100;

// Darkening per channel: the background once at start-up, the frame once
// per fade frame.
inline constexpr int32_t kBackgroundDarkening = 50;
inline constexpr int32_t kFadeDarkening = 3;
