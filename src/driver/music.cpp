#include "driver/music.h"

#include <cstdio>
#include <cstdlib>

#include "sound/sound_library.h"

namespace {

constexpr int kMixRate = 44100;
constexpr int kMaxSoftwareChannels = 32;

[[noreturn]] void failWithSoundError() {
    std::printf("%s\n", soundErrorText(FSOUND_GetError()));
    std::exit(1);
}

}  // namespace

FMUSIC_MODULE* startMusic() {
    if (FSOUND_GetVersion() != kRequiredSoundVersion) {
        std::printf("Error : You are using the wrong DLL version!  You should be using FMOD %.02f\n",
                    static_cast<double>(kRequiredSoundVersion));
        std::exit(1);
    }
    if (!FSOUND_Init(kMixRate, kMaxSoftwareChannels, 0)) failWithSoundError();
    // On failure the sound system stays initialised until the process ends.
    FMUSIC_MODULE* song = FMUSIC_LoadSong(kSongFileName);
    if (song == nullptr) failWithSoundError();
    FMUSIC_PlaySong(song);
    return song;
}
