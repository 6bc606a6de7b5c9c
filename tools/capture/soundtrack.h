#pragma once
// The capture's soundtrack: the module rendered by libopenmpt from its start
// for the length of the capture, its gain following the volume that each
// fade frame hands to the music, from that frame's reading on.
#include <cstdint>
#include <string>
#include <vector>

#include "frame_schedule.h"
#include "scene/timeline.h"
#include "wav_file.h"

struct openmpt_module;

// Stereo frames of the soundtrack: up to the last frame's reading.
int64_t soundtrackFrames(const FrameSchedule& schedule);

// Stereo frame at which a clock reading falls.
inline int64_t soundFrameAt(int32_t readingMs) {
    return int64_t{readingMs} * kWavSampleRate / 1000;
}

// A sample scaled by a music volume: 255 keeps it, 0 and below silence it.
inline int16_t applyVolume(int16_t sample, int32_t volume) {
    const int32_t v = volume < 0 ? 0 : (volume > kFullVolume ? kFullVolume : volume);
    return static_cast<int16_t>(int32_t{sample} * v / kFullVolume);
}

class Soundtrack {
public:
    Soundtrack() = default;
    ~Soundtrack();
    Soundtrack(const Soundtrack&) = delete;
    Soundtrack& operator=(const Soundtrack&) = delete;

    // Reads and opens the module; false with the reason in error(). A module
    // shorter than its headers declare is named on standard error and loaded.
    bool load(const char* path);
    // Renders the whole soundtrack of the schedule into the open file.
    bool render(const FrameSchedule& schedule, WavFile& wav);

    // Whether the last render held any sound before the fade was applied.
    bool playedSound() const { return heardSound; }

    const std::string& error() const { return message; }

private:
    openmpt_module* module = nullptr;
    bool heardSound = false;
    std::vector<int16_t> block;
    std::string message;
};
