#pragma once
// A loaded song: the module renderer, the volume and the clock.
#include <atomic>
#include <cstdint>

#include "sound/module_renderer.h"
#include "sound/playback_clock.h"
#include "sound/sample_format.h"

struct FMUSIC_MODULE {
    // While the song plays only the audio callback touches the renderer.
    ModuleRenderer renderer;
    // The music volume, handed from the driver to the callback.
    std::atomic<int32_t> volume{kFullVolume};
    // Frames rendered since FMUSIC_PlaySong: the callback's, or PlaySong's
    // under the device lock.
    int64_t framesHanded = 0;
    ProgressMailbox progress;
    // The reading side of the clock, used by the thread that calls FMUSIC_GetTime.
    SmoothClock clock;
};

// Renders frameCount stereo frames of the song at its current volume into
// interleaved, and reports them as handed to the output at wallNs.
void mixSong(FMUSIC_MODULE& song, int16_t* interleaved, int frameCount, int64_t wallNs);
