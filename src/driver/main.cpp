// The demo's entry point: start-up, the show and fade phases timed by the
// music clock, and the closing with its credits.
#include <iostream>

#include "display/display.h"
#include "driver/demo_state.h"
#include "driver/music.h"
#include "driver/scroll_message.h"
#include "driver/timeline.h"
#include "sound/sound_library.h"

namespace {

void say(const char* text) { std::cout << text << std::flush; }

// Runs both phases; returns when the clock has passed the end of the fade.
void runTimeline(FMUSIC_MODULE* song, VertexList& vertices, const TriangleList& triangles,
                 const SceneImages& images) {
    while (musicTime < kShowEndTime) {
        composeShowFrame(FMUSIC_GetTime(song), vertices, triangles, images);
        displayPresent(screen.getPixels());
    }
    while (musicTime < kFadeEndTime) {
        FMUSIC_SetMasterVolume(song, composeFadeFrame(FMUSIC_GetTime(song)));
        displayPresent(screen.getPixels());
    }
}

}  // namespace

int main() {
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

    runTimeline(song, vertices, triangles, SceneImages{background, flareImage, fontImage});

    FMUSIC_FreeSong(song);
    FSOUND_Close();
    std::cout << " finish...\n\n" << kCodeCreditLine << "Graphic: Vak\n" << kSoundCreditLine << std::flush;
    return 0;
}
