#pragma once
// Run-long state of the presentation, written only by the driver's timeline.
#include <cstdint>

// Last reading of the music clock in milliseconds; 0 until the first frame.
extern int32_t musicTime;
// Angles of the wave and projection, derived from the previous frame's reading.
extern double spinAngle;
extern double rowPhase;

inline constexpr int32_t kScrollTextSize = 1024;
// The zero-terminated scroll message that the scroller reads.
extern char scrollText[kScrollTextSize];
