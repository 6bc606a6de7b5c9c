#include "display/sdl/video_start.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "display/display.h"

bool videoDriverShowsPicture(const char* driverName, const char* requestedDrivers) {
    if (driverName == nullptr) return false;
    const bool drawsIntoMemory =
        std::strcmp(driverName, "offscreen") == 0 || std::strcmp(driverName, "dummy") == 0;
    const bool requested = requestedDrivers != nullptr && requestedDrivers[0] != '\0';
    return !drawsIntoMemory || requested;
}

bool startVideo() {
    // Ctrl+C in the console should stop the program as usual, not turn into a
    // quit event. SDL reads the hint at its first start; the sound output
    // sets it too, as it starts first in the demo programs.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (videoDriverShowsPicture(driver, std::getenv("SDL_VIDEODRIVER"))) return true;
    SDL_SetError("no display found (SDL fell back to its '%s' video driver, which shows nothing)",
                 driver != nullptr ? driver : "unknown");
    return false;
}

const char* displayFailureReason() {
    // SDL keeps the last error of each thread; a failed step of displayInit
    // sets it, and nothing on this thread calls SDL between the failure and
    // the driver's report. Only its first line is given.
    static char line[256];
    const char* reason = SDL_GetError();
    size_t n = 0;
    while (reason[n] != '\0' && reason[n] != '\n' && n + 1 < sizeof line) {
        line[n] = reason[n];
        ++n;
    }
    line[n] = '\0';
    return line;
}

void stopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
