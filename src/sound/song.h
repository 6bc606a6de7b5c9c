#pragma once
// A loaded song: the libopenmpt module, its gain and its clock.
#include <atomic>
#include <cstdint>

#include "sound/playback_clock.h"

struct openmpt_module;

struct FMUSIC_MODULE {
    // While the song plays only the audio callback touches the module.
    openmpt_module* module = nullptr;
    // volume / 255, handed from the driver to the callback.
    std::atomic<float> gain{1.0f};
    // Frames rendered since FMUSIC_PlaySong: the callback's, or PlaySong's
    // under the device lock.
    int64_t framesHanded = 0;
    ProgressMailbox progress;
    // The reading side of the clock, used by the thread that calls FMUSIC_GetTime.
    SmoothClock clock;
};

// Renders frameCount stereo frames of the song at the current gain into
// interleaved, and reports them as handed to the output at wallNs.
void mixSong(FMUSIC_MODULE& song, float* interleaved, int frameCount, int64_t wallNs);
