// FMUSIC_*: loading, playing, timing and freeing a song.
#include "sound/song.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "scene/timeline.h"
#include "sound/sound_library.h"
#include "sound/sound_inspection.h"
#include "sound/sound_output.h"
#include "sound/xm_extent.h"

namespace {

constexpr int32_t kRepeatForever = -1;

struct FileBytes {
    void* data = nullptr;
    size_t size = 0;
};

constexpr size_t kFirstReadSize = 64 * 1024;

// Reads the whole file in growing steps (a size from seeking is not trusted:
// it is meaningless for a directory or a pipe). The result's data is null,
// and the error code set, when the file cannot be opened or read or when
// memory runs out.
FileBytes readWholeFile(const char* name) {
    FileBytes bytes;
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        setSoundError(kSoundFileNotFound);
        return bytes;
    }
    size_t capacity = 0;
    int error = kSoundOk;
    while (error == kSoundOk) {
        if (bytes.size == capacity) {
            capacity = capacity == 0 ? kFirstReadSize : capacity * 2;
            void* grown = std::realloc(bytes.data, capacity);
            if (grown == nullptr) {
                error = kSoundOutOfMemory;
                break;
            }
            bytes.data = grown;
        }
        bytes.size += std::fread(static_cast<char*>(bytes.data) + bytes.size, 1, capacity - bytes.size, file);
        if (std::ferror(file)) error = kSoundFileNotFound;
        if (std::feof(file)) break;
    }
    std::fclose(file);
    if (error != kSoundOk) {
        std::free(bytes.data);
        setSoundError(error);
        return FileBytes{};
    }
    return bytes;
}

// A module cut short still plays, as in any player, but not without a word:
// the loader itself does not notice the missing bytes.
void reportShortModule(const char* name, const FileBytes& bytes) {
    const XmExtent extent = measureXmExtent(static_cast<const unsigned char*>(bytes.data), bytes.size);
    char line[512];
    describeShortModule(name, extent, bytes.size, line, sizeof line);
    if (line[0] != '\0') std::fprintf(stderr, "%s\n", line);
}

openmpt_module* createModule(const FileBytes& bytes) {
    int error = OPENMPT_ERROR_OK;
    openmpt_module* module =
        openmpt_module_create_from_memory2(bytes.data, bytes.size, openmpt_log_func_silent, nullptr,
                                           openmpt_error_func_store, nullptr, &error, nullptr, nullptr);
    if (module == nullptr) {
        setSoundError(error == OPENMPT_ERROR_OUT_OF_MEMORY ? kSoundOutOfMemory : kSoundUnknownFormat);
    }
    return module;
}

}  // namespace

void mixSong(FMUSIC_MODULE& song, float* interleaved, int frameCount, int64_t wallNs) {
    const size_t wanted = static_cast<size_t>(frameCount);
    const size_t rendered =
        openmpt_module_read_interleaved_float_stereo(song.module, kOutputRate, wanted, interleaved);
    std::fill(interleaved + 2 * rendered, interleaved + 2 * wanted, 0.0f);
    const float gain = song.gain.load(std::memory_order_relaxed);
    for (size_t i = 0; i < 2 * wanted; ++i) interleaved[i] *= gain;

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
    const FileBytes bytes = readWholeFile(name);
    if (bytes.data == nullptr) return nullptr;
    reportShortModule(name, bytes);
    openmpt_module* module = createModule(bytes);
    std::free(bytes.data);  // libopenmpt keeps its own copy
    if (module == nullptr) return nullptr;

    FMUSIC_MODULE* song = new (std::nothrow) FMUSIC_MODULE;
    if (song == nullptr) {
        openmpt_module_destroy(module);
        setSoundError(kSoundOutOfMemory);
        return nullptr;
    }
    openmpt_module_set_repeat_count(module, kRepeatForever);
    song->module = module;
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
        openmpt_module_set_position_seconds(song->module, 0.0);
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
    const int clamped = std::clamp(volume, 0, kFullVolume);
    song->gain.store(static_cast<float>(clamped) / kFullVolume, std::memory_order_relaxed);
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
    openmpt_module_destroy(song->module);
    delete song;
    return 1;
}

OutputProgress songOutputProgress(const FMUSIC_MODULE* song) {
    return song == nullptr ? OutputProgress{} : song->progress.read();
}

bool soundOutputIsOpen() { return soundOutputOpen(); }

void mixSongFrames(FMUSIC_MODULE* song, float* interleaved, int frameCount, int64_t wallNs) {
    if (song != nullptr) mixSong(*song, interleaved, frameCount, wallNs);
}
