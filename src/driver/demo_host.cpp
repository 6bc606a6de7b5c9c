#include "driver/demo_host.h"

#include <cstdio>
#include <iostream>

#include "display/display.h"
#include "scene/data_files.h"
#include "scene/scroll_message.h"
#include "sound/sample_format.h"

namespace {

constexpr int kMaxSoftwareChannels = 32;
constexpr char kDisplayClassName[] = "test";

// Shows each frame on the display back end; Escape or a closed window stops the loop.
class DisplayScreen : public Screen {
public:
    explicit DisplayScreen(const DisplayBackEnd& display) : display(display) {}
    // A lost frame is simply shown by the next one.
    bool present(const Image& frame) override { return display.present(frame.getPixels()) != kDisplayQuit; }

private:
    const DisplayBackEnd& display;
};

}  // namespace

void say(const char* text) { std::cout << text << std::flush; }

void DemoHost::loadData() {
    say("Demo-Engine by Vak\n");
    say("\n loading data ...\n");
    scene.loadImages();
    std::cout.flush();  // brings out any loader message before the next line
}

bool DemoHost::failWithSoundError() {
    failureLine = std::string(soundErrorText(sound.getError())) + "\n";
    return false;
}

// The sound system a failed load leaves initialised stays so.
bool DemoHost::startMusic() {
    say("\n loading sound ...\n");
    if (sound.getVersion() != kSoundLibraryVersion) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "Error : You are using the wrong DLL version!  You should be using FMOD %.02f\n",
                      static_cast<double>(kSoundLibraryVersion));
        failureLine = line;
        return false;
    }
    if (!sound.init(kSampleRate, kMaxSoftwareChannels, 0)) return failWithSoundError();
    clock.song = sound.loadSong(kSongFileName);
    if (clock.song == nullptr) return failWithSoundError();
    sound.playSong(clock.song);
    return true;
}

bool DemoHost::startDisplay(const DisplayBackEnd& display) {
    say("\n init DirextX ...\n");
    if (display.init(kDisplayClassName, kScreenWidth, kScreenHeight)) return true;
    say("\n DirectX Suxxs !!!\n");
    return false;
}

void DemoHost::close() {
    sound.freeSong(clock.song);
    sound.close();
    clock.song = nullptr;
    std::cout << " finish...\n\n" << kCodeCreditLine << "Graphic: Vak\n" << kSoundCreditLine << std::flush;
}

DemoEnd runDemo(const SoundLibrary& sound, const DisplayBackEnd& display) {
    DemoHost host(sound);
    host.loadData();
    if (!host.startMusic()) {
        std::printf("%s", host.failure().c_str());
        return DemoEnd::SoundFailed;
    }
    host.setUpScene();
    if (!host.startDisplay(display)) return DemoEnd::DisplayFailed;
    host.go();
    DisplayScreen screen(display);
    FrameResult result = FrameResult::Presented;
    while (result == FrameResult::Presented) result = host.frame(screen);
    if (result == FrameResult::Stopped) return DemoEnd::Quit;
    host.close();
    return DemoEnd::Finished;
}
