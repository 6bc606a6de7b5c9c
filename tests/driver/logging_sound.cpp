// The real sound library with two test hooks in front of it:
//   DEMO_TEST_CLOCK_OFFSET_MS=t  FMUSIC_GetTime reads t ms more, so a run can
//                                start just before the end of the show.
//   DEMO_TEST_VOLUME_LOG=path    every volume passed to FMUSIC_SetMasterVolume
//                                is appended to the file, one per line.
#include <cstdio>
#include <cstdlib>

#include "real_sound_names.h"
#include "sound/sound_library.h"
#undef FSOUND_GetVersion
#undef FSOUND_Init
#undef FSOUND_GetError
#undef FSOUND_Close
#undef FMUSIC_LoadSong
#undef FMUSIC_PlaySong
#undef FMUSIC_GetTime
#undef FMUSIC_SetMasterVolume
#undef FMUSIC_FreeSong

namespace {

int clockOffsetMs() {
    static const int offset = [] {
        const char* text = std::getenv("DEMO_TEST_CLOCK_OFFSET_MS");
        return text == nullptr ? 0 : std::atoi(text);
    }();
    return offset;
}

std::FILE* volumeLog() {
    static std::FILE* const log = [] {
        const char* path = std::getenv("DEMO_TEST_VOLUME_LOG");
        return path == nullptr ? nullptr : std::fopen(path, "w");
    }();
    return log;
}

}  // namespace

float FSOUND_GetVersion() { return realFSOUND_GetVersion(); }
signed char FSOUND_Init(int mixRate, int channels, unsigned int flags) {
    return realFSOUND_Init(mixRate, channels, flags);
}
int FSOUND_GetError() { return realFSOUND_GetError(); }
void FSOUND_Close() { realFSOUND_Close(); }
FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) { return realFMUSIC_LoadSong(name); }
signed char FMUSIC_PlaySong(FMUSIC_MODULE* song) { return realFMUSIC_PlaySong(song); }
signed char FMUSIC_FreeSong(FMUSIC_MODULE* song) { return realFMUSIC_FreeSong(song); }

int FMUSIC_GetTime(FMUSIC_MODULE* song) { return realFMUSIC_GetTime(song) + clockOffsetMs(); }

signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume) {
    if (std::FILE* log = volumeLog()) {
        std::fprintf(log, "%d\n", volume);
        std::fflush(log);
    }
    return realFMUSIC_SetMasterVolume(song, volume);
}
