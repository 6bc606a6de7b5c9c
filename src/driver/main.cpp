// The demo's entry point: start-up, the show and fade phases timed by the
// music clock, and the closing with its credits.
#include <cstdio>
#include <cstdlib>

#include "display/display.h"
#include "driver/console.h"
#include "driver/data_folder.h"
#include "driver/host.h"
#include "scene/show.h"
#include "sound/sound_library.h"

int main() {
    prepareConsole();
    enterDataFolder();
    Show show;  // holds the scroll message from here on
    loadShow(show);
    const MusicStart music = startShowMusic();
    if (music.song == nullptr) {
        std::printf("%s", music.failure.c_str());
        std::exit(1);  // the runtime's normal exit: the streams are flushed
    }
    FMUSIC_MODULE* song = music.song;
    show.setUp();
    say(kInitDisplayText);
    if (!displayInit("test", kScreenWidth, kScreenHeight)) {
        say(kDisplayFailedText);
        std::fprintf(stderr, "cannot start the display: %s\n", displayFailureReason());
        return 1;
    }
    say(kGoText);

    show.run([song] { return FMUSIC_GetTime(song); },
             [song](int32_t volume) { FMUSIC_SetMasterVolume(song, volume); },
             [&show] {
                 displayPresent(show.frame().getPixels());  // a lost frame is simply shown by the next one
                 return true;
             });

    closeShow(song);
    return 0;
}
