#include "driver/music.h"

#include <cstdio>

#include "scene/data_files.h"
#include "sound/sample_format.h"
#include "sound/sound_library.h"

namespace {

constexpr int kMaxSoftwareChannels = 32;

MusicStart failedWithSoundError() {
    MusicStart start;
    start.failure = std::string(soundErrorText(FSOUND_GetError())) + "\n";
    return start;
}

}  // namespace

MusicStart startMusic() {
    if (FSOUND_GetVersion() != kSoundLibraryVersion) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "Error : You are using the wrong DLL version!  You should be using FMOD %.02f\n",
                      static_cast<double>(kSoundLibraryVersion));
        return MusicStart{nullptr, line};
    }
    if (!FSOUND_Init(kSampleRate, kMaxSoftwareChannels, 0)) return failedWithSoundError();
    FMUSIC_MODULE* song = FMUSIC_LoadSong(kSongFileName);
    if (song == nullptr) return failedWithSoundError();
    FMUSIC_PlaySong(song);
    return MusicStart{song, ""};
}
