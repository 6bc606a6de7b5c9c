#pragma once
// Starting the music and the texts of the sound library's error codes.
#include <cstdint>

#include "scene/data_files.h"

struct FMUSIC_MODULE;

inline constexpr float kRequiredSoundVersion = 3.2f;

// Text for an error code: codes 0 to 19 have their own, others "Unknown error".
const char* soundErrorText(int32_t code);

// Version check, FSOUND_Init, FMUSIC_LoadSong and FMUSIC_PlaySong. A failure
// prints its message with printf and ends the process with exit code 1.
FMUSIC_MODULE* startMusic();
