// A sound library of another version: the driver must refuse it before it
// calls anything else, so every other function reports failure.
#include "sound/sound_library.h"

float FSOUND_GetVersion() { return 3.1f; }
signed char FSOUND_Init(int, int, unsigned int) { return 0; }
int FSOUND_GetError() { return 3; }
void FSOUND_Close() {}
FMUSIC_MODULE* FMUSIC_LoadSong(const char*) { return nullptr; }
signed char FMUSIC_PlaySong(FMUSIC_MODULE*) { return 0; }
int FMUSIC_GetTime(FMUSIC_MODULE*) { return 0; }
signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE*, int) { return 0; }
signed char FMUSIC_FreeSong(FMUSIC_MODULE*) { return 0; }
