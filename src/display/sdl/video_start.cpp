#include "display/sdl/video_start.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

bool videoDriverShowsPicture(const char* driverName, const char* requestedDrivers) {
    if (driverName == nullptr) return false;
    const bool drawsIntoMemory = std::strcmp(driverName, "offscreen") == 0 || std::strcmp(driverName, "dummy") == 0;
    const bool requested = requestedDrivers != nullptr && requestedDrivers[0] != '\0';
    return !drawsIntoMemory || requested;
}

bool startVideo() {
    // Ctrl+C in the console should stop the program as usual, not turn into a
    // quit event. SDL reads the hint at its first start; the sound output
    // sets it too, as it starts first in the demo programs.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    return videoDriverShowsPicture(SDL_GetCurrentVideoDriver(), std::getenv("SDL_VIDEODRIVER"));
}

void stopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
