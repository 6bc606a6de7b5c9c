#pragma once
// Starting the music and the texts of the sound library's error codes.
#include <cstdint>
#include <string>

struct FMUSIC_MODULE;

// Text for an error code: codes 0 to 19 have their own, others "Unknown error".
const char* soundErrorText(int32_t code);

struct MusicStart {
    FMUSIC_MODULE* song = nullptr;  // playing, or null when the start failed
    std::string failure;            // then: the line to print, its line end included
};

// Version check, FSOUND_Init, FMUSIC_LoadSong and FMUSIC_PlaySong. A failure
// is reported, not acted on; the sound system a failed load leaves
// initialised stays so.
MusicStart startMusic();
