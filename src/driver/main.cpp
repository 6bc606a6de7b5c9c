// The demo's entry point: start-up, the show and fade phases timed by the
// music clock, and the closing with its credits.
#include <iostream>

#include "display/display.h"
#include "driver/console.h"
#include "driver/data_folder.h"
#include "driver/music.h"
#include "scene/scroll_message.h"
#include "scene/show.h"
#include "sound/sound_library.h"

namespace {

void say(const char* text) { std::cout << text << std::flush; }

}  // namespace

int main() {
    prepareConsole();
    enterDataFolder();
    say("Demo-Engine by Vak\n");
    say("\n loading data ...\n");
    Show show;  // holds the scroll message from here on
    show.loadImages();
    std::cout.flush();  // brings out any loader message before the next line
    say("\n loading sound ...\n");
    FMUSIC_MODULE* song = startMusic();
    show.setUp();
    say("\n init DirextX ...\n");
    if (!displayInit("test", kScreenWidth, kScreenHeight)) {
        say("\n DirectX Suxxs !!!\n");
        return 1;
    }
    say("\n Go..............\n");

    show.run([song] { return FMUSIC_GetTime(song); },
             [song](int32_t volume) { FMUSIC_SetMasterVolume(song, volume); },
             [&show] {
                 displayPresent(show.frame().getPixels());  // a lost frame is simply shown by the next one
                 return true;
             });

    FMUSIC_FreeSong(song);
    FSOUND_Close();
    std::cout << " finish...\n\n" << kCodeCreditLine << "Graphic: Vak\n" << kSoundCreditLine << std::flush;
    return 0;
}
