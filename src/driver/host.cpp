#include "driver/host.h"

#include <iostream>

#include "scene/scroll_message.h"
#include "scene/show.h"
#include "sound/sound_library.h"

void say(const char* text) { std::cout << text << std::flush; }

void loadShow(Show& show) {
    say("Demo-Engine by Vak\n");
    say("\n loading data ...\n");
    show.loadImages();
    std::cout.flush();  // brings out any loader message before the next line
}

MusicStart startShowMusic() {
    say("\n loading sound ...\n");
    return startMusic();
}

void closeShow(FMUSIC_MODULE* song) {
    FMUSIC_FreeSong(song);
    FSOUND_Close();
    std::cout << " finish...\n\n" << kCodeCreditLine << "Graphic: Vak\n" << kSoundCreditLine << std::flush;
}
