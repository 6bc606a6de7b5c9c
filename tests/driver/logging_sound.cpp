// Two test hooks in front of the real sound library, put there by the
// linker (--wrap): the driver's calls of FMUSIC_GetTime and
// FMUSIC_SetMasterVolume land here, and __real_ names the library's own.
//   DEMO_TEST_CLOCK_OFFSET_MS=t  FMUSIC_GetTime reads t ms more, so a run can
//                                start just before the end of the show.
//   DEMO_TEST_VOLUME_LOG=path    every volume passed to FMUSIC_SetMasterVolume
//                                is appended to the file, one per line.
// Every reading is also kept for the scripted display (music_reading.h).
#include <cstdio>
#include <cstdlib>

#include "music_reading.h"
#include "sound/sound_library.h"

extern "C" {
int __real_FMUSIC_GetTime(FMUSIC_MODULE* song);
signed char __real_FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume);
int __wrap_FMUSIC_GetTime(FMUSIC_MODULE* song);
signed char __wrap_FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume);
}

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

int __wrap_FMUSIC_GetTime(FMUSIC_MODULE* song) {
    lastMusicReading = __real_FMUSIC_GetTime(song) + clockOffsetMs();
    return lastMusicReading;
}

signed char __wrap_FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume) {
    if (std::FILE* log = volumeLog()) {
        std::fprintf(log, "%d\n", volume);
        std::fflush(log);
    }
    return __real_FMUSIC_SetMasterVolume(song, volume);
}
