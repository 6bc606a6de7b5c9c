#pragma once
// The sound library's functions under the names that a second build of it
// (target demo_sound_renamed) gives them, so a test library can stand in
// front of it under the usual names.
#define FSOUND_GetVersion realFSOUND_GetVersion
#define FSOUND_Init realFSOUND_Init
#define FSOUND_GetError realFSOUND_GetError
#define FSOUND_Close realFSOUND_Close
#define FMUSIC_LoadSong realFMUSIC_LoadSong
#define FMUSIC_PlaySong realFMUSIC_PlaySong
#define FMUSIC_GetTime realFMUSIC_GetTime
#define FMUSIC_SetMasterVolume realFMUSIC_SetMasterVolume
#define FMUSIC_FreeSong realFMUSIC_FreeSong
