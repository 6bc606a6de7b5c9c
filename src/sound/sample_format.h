#pragma once
// The sound every front end hands on: 44.1 kHz, 16-bit, stereo, at a music
// volume from 0 to 255.
#include <cstdint>

inline constexpr int32_t kSampleRate = 44100;
inline constexpr int32_t kChannels = 2;

// The music's volume: 255 is full, 0 and below are silence.
inline constexpr int32_t kFullVolume = 255;

// A sample scaled by a music volume: 255 keeps it, 0 and below silence it,
// above 255 counts as 255.
inline int16_t applyVolume(int16_t sample, int32_t volume) {
    const int32_t v = volume < 0 ? 0 : (volume > kFullVolume ? kFullVolume : volume);
    return static_cast<int16_t>(int32_t{sample} * v / kFullVolume);
}

// The stereo frame at which a clock reading in milliseconds falls.
inline int64_t sampleFrameAt(int32_t readingMs) { return int64_t{readingMs} * kSampleRate / 1000; }
