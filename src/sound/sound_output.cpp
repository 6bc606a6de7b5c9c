// FSOUND_*: the output device and its callback.
#include "sound/sound_output.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "sound/song.h"
#include "sound/sound_library.h"

namespace {

constexpr Uint16 kBufferFrames = 1024;  // about 23 ms at 44100 Hz
constexpr int kBytesPerFrame = kChannels * sizeof(int16_t);

// Everything the callback reaches. It lives on the heap and is never
// destroyed, so no static destructor can pull it away from a callback that
// still runs while the process exits.
struct SoundOutput {
    SDL_AudioDeviceID device = 0;
    FMUSIC_MODULE* playing = nullptr;  // read by the callback under the device lock
    int lastError = kSoundOk;
    bool guardedAfterFirstPlay = false;
};

SoundOutput& output() {
    static SoundOutput* const instance = new SoundOutput;
    return *instance;
}

// Runs on SDL's audio thread with the device lock held.
void renderOutput(void* userdata, Uint8* stream, int length) {
    SoundOutput& state = *static_cast<SoundOutput*>(userdata);
    const int frames = length / kBytesPerFrame;
    if (state.playing == nullptr) {
        std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    mixSong(*state.playing, reinterpret_cast<int16_t*>(stream), frames, wallClockNs());
}

void closeDevice(SoundOutput& state) {
    SDL_CloseAudioDevice(state.device);  // waits for a running callback to finish
    state.device = 0;
}

// The song that still plays at exit stays referenced: it was never freed,
// and nothing may be pulled away from it.
void closeOutputAtExit() {
    SoundOutput& state = output();
    if (state.device != 0) closeDevice(state);
}

bool openDevice(SoundOutput& state, int mixRate) {
    // The audio is SDL's first subsystem: without this hint its start installs
    // handlers that turn Ctrl+C and SIGTERM into a quit event, and the program
    // would end as by Escape, with exit code 0.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = mixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kBufferFrames;
    wanted.callback = renderOutput;
    wanted.userdata = &state;
    // No allowed changes: SDL converts to whatever the hardware takes.
    state.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (state.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(state.device, 0);
    return true;
}

}  // namespace

void setSoundError(int code) { output().lastError = code; }

bool soundOutputOpen() { return output().device != 0; }

OutputLock::OutputLock() { SDL_LockAudioDevice(output().device); }

OutputLock::~OutputLock() { SDL_UnlockAudioDevice(output().device); }

FMUSIC_MODULE* playingSong() { return output().playing; }

void setPlayingSong(FMUSIC_MODULE* song) { output().playing = song; }

// Exit handlers run in the reverse order of their registration, before the
// static objects that were constructed earlier are destroyed. Registering at
// FSOUND_Init covers everything loaded before the output opened; registering
// once more when the first song plays covers what the module library set up
// while loading. The handler is idempotent.
void guardOutputAtExit() {
    SoundOutput& state = output();
    if (state.guardedAfterFirstPlay) return;
    state.guardedAfterFirstPlay = true;
    std::atexit(closeOutputAtExit);
}

float FSOUND_GetVersion() { return kSoundLibraryVersion; }

signed char FSOUND_Init(int mixRate, int /*maxSoftwareChannels*/, unsigned int /*flags*/) {
    SoundOutput& state = output();
    if (state.device != 0) {
        state.lastError = kSoundAlreadyInitialised;
        return 0;
    }
    if (mixRate != kSampleRate) {
        state.lastError = kSoundInvalidParameter;
        return 0;
    }
    if (!openDevice(state, mixRate)) {
        state.lastError = kSoundOutputFailed;
        return 0;
    }
    static const bool registered = std::atexit(closeOutputAtExit) == 0;
    (void)registered;
    state.lastError = kSoundOk;
    return 1;
}

int FSOUND_GetError() { return output().lastError; }

void FSOUND_Close() {
    SoundOutput& state = output();
    if (state.device == 0) {
        state.lastError = kSoundNotInitialised;
        return;
    }
    closeDevice(state);
    state.playing = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
