#pragma once
// The demo's run from the banner to the credits, in the order every host
// shares: the texts, the images, the music's start, the scene, the display,
// the frame loop against the song's clock, and the closing. The sound
// library and the display back end come in as values, so the programs wire
// in the real ones and the tests their own.
#include <cstdint>
#include <string>

#include "driver/run_loop.h"
#include "scene/show.h"
#include "sound/sound_library.h"

// The sound library's calls the driver makes.
struct SoundLibrary {
    float (*getVersion)();
    signed char (*init)(int mixRate, int maxSoftwareChannels, unsigned int flags);
    int (*getError)();
    void (*close)();
    FMUSIC_MODULE* (*loadSong)(const char* name);
    signed char (*playSong)(FMUSIC_MODULE* song);
    int (*getTime)(FMUSIC_MODULE* song);
    signed char (*setVolume)(FMUSIC_MODULE* song, int volume);
    signed char (*freeSong)(FMUSIC_MODULE* song);
};

// The library the programs link.
inline constexpr SoundLibrary kSoundLibrary{
    FSOUND_GetVersion, FSOUND_Init,    FSOUND_GetError,        FSOUND_Close,   FMUSIC_LoadSong,
    FMUSIC_PlaySong,   FMUSIC_GetTime, FMUSIC_SetMasterVolume, FMUSIC_FreeSong};

// The display back end's operations (display/display.h).
struct DisplayBackEnd {
    int32_t (*init)(const char* className, int32_t width, int32_t height);
    int32_t (*present)(const uint32_t* pixels);
    void (*shutdown)();
};

inline constexpr char kGoText[] = "\n Go..............\n";

// Writes a text to standard output and flushes it.
void say(const char* text);

class DemoHost {
public:
    explicit DemoHost(const SoundLibrary& sound) : sound(sound), clock(sound) {}
    DemoHost(const DemoHost&) = delete;
    DemoHost& operator=(const DemoHost&) = delete;

    // The banner, "loading data" and the four images from the working
    // folder; any loader message is flushed before the next text.
    void loadData();
    // "loading sound", the version check, the sound system, the song and its
    // start. False when one failed: failure() then holds the line to print,
    // its line end included, and nothing was printed.
    bool startMusic();
    const std::string& failure() const { return failureLine; }
    // The scene's start-up: mesh, angles, cleared frame, darkened background.
    void setUpScene() { scene.setUp(); }
    // "init DirextX" and the display's start; on failure "DirectX Suxxs".
    bool startDisplay(const DisplayBackEnd& display);
    // "Go".
    void go() { say(kGoText); }
    // One pass of the frame loop against the song's clock.
    FrameResult frame(Screen& screen) { return runFrame(scene, clock, screen); }
    // The end of the timeline: the song freed, the sound system closed, the credits.
    void close();

    Show& show() { return scene; }

private:
    // The song's clock and volume.
    class SongClock : public MusicClock {
    public:
        explicit SongClock(const SoundLibrary& sound) : sound(sound) {}
        int32_t read() override { return sound.getTime(song); }
        void setVolume(int32_t volume) override { sound.setVolume(song, volume); }
        FMUSIC_MODULE* song = nullptr;

    private:
        const SoundLibrary& sound;
    };

    bool failWithSoundError();

    const SoundLibrary& sound;
    SongClock clock;
    Show scene;  // holds the scroll message from its construction on
    std::string failureLine;
};

// How a run of the demo ended.
enum class DemoEnd {
    Finished,       // the whole timeline and the credits: exit code 0
    Quit,           // Escape or a closed window: the program ends at once with 0
    SoundFailed,    // the sound error is printed: exit code 1
    DisplayFailed,  // "DirectX Suxxs": exit code 1
};

// The demo programs' whole run. A failed sound start prints its line with
// printf. On Quit the song still plays: the caller ends the program at once.
DemoEnd runDemo(const SoundLibrary& sound, const DisplayBackEnd& display);
