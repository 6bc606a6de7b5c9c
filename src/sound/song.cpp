// FMUSIC_*: loading, playing, timing and freeing a song.
#include "sound/song.h"

#include <new>

#include "sound/module_loader.h"
#include "sound/sound_inspection.h"
#include "sound/sound_library.h"
#include "sound/sound_output.h"

namespace {

int soundErrorOf(const ModuleLoadFailure& failure) {
    if (failure.file == ModuleFileError::None) {
        return failure.format == ModuleLoadError::OutOfMemory ? kSoundOutOfMemory : kSoundUnknownFormat;
    }
    switch (failure.file) {
        case ModuleFileError::OutOfMemory: return kSoundOutOfMemory;
        case ModuleFileError::TooLarge: return kSoundLoadFailed;
        default: break;
    }
    return kSoundFileNotFound;  // cannot be opened, not a file, or unreadable
}

}  // namespace

void mixSong(FMUSIC_MODULE& song, int16_t* interleaved, int frameCount, int64_t wallNs) {
    song.renderer.render(interleaved, static_cast<size_t>(frameCount),
                         song.volume.load(std::memory_order_relaxed));
    const int64_t before = song.framesHanded;
    song.framesHanded += frameCount;
    song.progress.publish(OutputProgress{before, wallNs, song.framesHanded});
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) {
    if (!soundOutputOpen()) {
        setSoundError(kSoundNotInitialised);
        return nullptr;
    }
    if (name == nullptr) {
        setSoundError(kSoundInvalidParameter);
        return nullptr;
    }
    FMUSIC_MODULE* song = new (std::nothrow) FMUSIC_MODULE;
    if (song == nullptr) {
        setSoundError(kSoundOutOfMemory);
        return nullptr;
    }
    ModuleLoadFailure failure;
    if (!loadModuleFile(name, song->renderer, "", failure)) {
        setSoundError(soundErrorOf(failure));
        delete song;
        return nullptr;
    }
    setSoundError(kSoundOk);
    return song;
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE* song) {
    if (song == nullptr) {
        setSoundError(kSoundInvalidParameter);
        return 0;
    }
    if (!soundOutputOpen()) {
        setSoundError(kSoundNotInitialised);
        return 0;
    }
    {
        OutputLock hold;
        song->renderer.rewind();
        const int64_t now = wallClockNs();
        song->framesHanded = 0;
        song->progress.publish(OutputProgress{0, now, 0});
        song->clock.restart(now);
        setPlayingSong(song);
    }
    guardOutputAtExit();
    return 1;
}

int FMUSIC_GetTime(FMUSIC_MODULE* song) {
    if (song == nullptr) {
        setSoundError(kSoundInvalidParameter);
        return 0;
    }
    return static_cast<int>(song->clock.readMs(song->progress.read(), wallClockNs()));
}

signed char FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume) {
    if (song == nullptr) {
        setSoundError(kSoundInvalidParameter);
        return 0;
    }
    song->volume.store(volume, std::memory_order_relaxed);
    return 1;
}

signed char FMUSIC_FreeSong(FMUSIC_MODULE* song) {
    if (song == nullptr) {
        setSoundError(kSoundInvalidParameter);
        return 0;
    }
    if (soundOutputOpen()) {
        OutputLock hold;
        if (playingSong() == song) setPlayingSong(nullptr);
    }
    delete song;
    return 1;
}

OutputProgress songOutputProgress(const FMUSIC_MODULE* song) {
    return song == nullptr ? OutputProgress{} : song->progress.read();
}

bool soundOutputIsOpen() { return soundOutputOpen(); }

void mixSongFrames(FMUSIC_MODULE* song, int16_t* interleaved, int frameCount, int64_t wallNs) {
    if (song != nullptr) mixSong(*song, interleaved, frameCount, wallNs);
}
