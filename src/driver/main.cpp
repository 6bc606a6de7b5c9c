// The demo's entry point: the demo's run with the SDL display back end the
// program is linked with and the sound library, and the exit code of its end.
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "display/display.h"
#include "driver/console.h"
#include "driver/data_folder.h"
#include "driver/demo_host.h"

int main() {
    prepareConsole();
    enterDataFolder();
    switch (runDemo(kSoundLibrary, DisplayBackEnd{displayInit, displayPresent, displayShutdown})) {
        case DemoEnd::Finished: return 0;
        case DemoEnd::Quit:
            // Escape or a closed window: at once, without freeing the music
            // (its threads end with the process) or any exit handler. Every
            // message is flushed already; this only makes sure of it.
            std::cout.flush();
            std::fflush(stdout);
            std::_Exit(0);
        case DemoEnd::DisplayFailed:
            // After the demo's own message on standard output, SDL's reason
            // for a person who wonders why nothing showed.
            std::fprintf(stderr, "cannot start the display: %s\n", displayFailureReason());
            break;
        case DemoEnd::SoundFailed: break;
    }
    return 1;  // the runtime's normal exit: the streams are flushed
}
