#pragma once
// The sound library the driver plays its module with: module playback on
// libopenmpt, output through SDL2 audio. The clock counts milliseconds of
// audio handed to the output since FMUSIC_PlaySong.
#include <cstdint>

struct FMUSIC_MODULE;

// The version this library reports, and the one the demo requires.
inline constexpr float kSoundLibraryVersion = 3.2f;

// Text for an error code of FSOUND_GetError: codes 0 to 19 have their own,
// every other value "Unknown error".
const char* soundErrorText(int32_t code);

// C names, as the library's interface has always had.
extern "C" {

float FSOUND_GetVersion();
// Opens the default audio output at mixRate Hz, stereo. Nonzero on success.
signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
// Code of the last failure (see soundErrorText).
int FSOUND_GetError();
void FSOUND_Close();

// Loads a module file; nullptr on failure.
FMUSIC_MODULE* FMUSIC_LoadSong(const char* name);
// Starts the song from its beginning; it loops.
signed char FMUSIC_PlaySong(FMUSIC_MODULE* module);
// Milliseconds of playback since FMUSIC_PlaySong: smooth and never falling.
int FMUSIC_GetTime(FMUSIC_MODULE* module);
// 255 is full volume (gain volume/255); below 0 is silence.
signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE* module, int volume);
// Stops and frees the song.
signed char FMUSIC_FreeSong(FMUSIC_MODULE* module);

}  // extern "C"
