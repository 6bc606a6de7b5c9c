#pragma once
// What the library's own tests look at beyond the sound interface: whether
// the output device is open, how far the output has got with a song, and the
// audio callback's mixing of a song called directly.
#include <cstdint>

#include "sound/playback_clock.h"

struct FMUSIC_MODULE;

bool soundOutputIsOpen();
// The frames handed to the output for the song and when; all 0 before play.
OutputProgress songOutputProgress(const FMUSIC_MODULE* song);
// Renders frameCount stereo frames of the song at its volume into
// interleaved, as the audio callback does, and counts them as handed at wallNs.
void mixSongFrames(FMUSIC_MODULE* song, int16_t* interleaved, int frameCount, int64_t wallNs);
