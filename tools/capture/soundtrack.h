#pragma once
// The capture's soundtrack: a front end of the sound layer's renderer that
// writes a WAV file. The music is rendered from its start for the length of
// the capture, each fade frame's volume (the timeline's, as the show gives
// it to the sound library) taking effect at the sample of that frame's
// reading: the samples the sound library hands its output for the same
// readings.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/frame_clock.h"
#include "sound/module_renderer.h"
#include "wav_file.h"

// Stereo frames of the soundtrack: up to the last frame's reading.
int64_t soundtrackFrames(const FrameSchedule& schedule);

class Soundtrack {
public:
    // Reads and opens the module; false with the reason in error(). A module
    // shorter than its headers declare is named on standard error and loaded.
    bool load(const char* path);
    // Renders the whole soundtrack at the schedule's frame rate into the open file.
    bool render(const FrameSchedule& schedule, WavFile& wav);

    // Whether the last render held any sound before the fade was applied.
    bool playedSound() const { return renderer.heardSound(); }

    const std::string& error() const { return message; }

private:
    bool renderUntil(int64_t endFrame, int32_t volume, WavFile& wav);

    ModuleRenderer renderer;
    std::vector<int16_t> block;
    std::string message;
};
