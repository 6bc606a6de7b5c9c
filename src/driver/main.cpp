// The demo's entry point: start-up, the show and fade phases timed by the
// music clock, and the closing with its credits.
#include <iostream>

#include "display/display.h"
#include "driver/console.h"
#include "driver/music.h"
#include "driver/scroll_message.h"
#include "driver/timeline.h"
#include "sound/sound_library.h"

namespace {

void say(const char* text) { std::cout << text << std::flush; }

}  // namespace

int main() {
    prepareConsole();
    say("Demo-Engine by Vak\n");
    say("\n loading data ...\n");
    copyScrollMessage();
    Image background(640, 480, "welt.raw");
    Image flareImage(32, 32, "flare.raw");
    Image smallFlareImage(12, 12, "flare2.raw");
    Image fontImage(320, 100, "font.raw");
    std::cout.flush();  // brings out any loader message before the next line
    say("\n loading sound ...\n");
    FMUSIC_MODULE* song = startMusic();

    // Destroyed before the images, in reverse order of creation.
    VertexList vertices;
    TriangleList triangles;
    setupScene(vertices, triangles, background);
    say("\n init DirextX ...\n");
    if (!displayInit("test", kScreenWidth, kScreenHeight)) {
        say("\n DirectX Suxxs !!!\n");
        return 1;
    }
    say("\n Go..............\n");

    runTimeline(
        vertices, triangles, SceneImages{background, flareImage, fontImage},
        [song] { return FMUSIC_GetTime(song); },
        [song](int32_t volume) { FMUSIC_SetMasterVolume(song, volume); },
        [] {
            displayPresent(screen.getPixels());  // a lost frame is simply shown by the next one
            return true;
        });

    FMUSIC_FreeSong(song);
    FSOUND_Close();
    std::cout << " finish...\n\n" << kCodeCreditLine << "Graphic: Vak\n" << kSoundCreditLine << std::flush;
    return 0;
}
