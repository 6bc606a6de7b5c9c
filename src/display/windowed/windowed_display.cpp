// Display back end of demo_windowed: a resizable desktop window whose client
// area shows the frame stretched to its current size. The keys 1, 2 and 4
// zoom the window to that many times its starting outer size, centred.
#include <SDL.h>

#include "display/display.h"
#include "display/sdl/frame_geometry.h"
#include "display/sdl/frame_output.h"
#include "display/sdl/frame_texture.h"
#include "display/sdl/selected_converter.h"
#include "display/sdl/video_start.h"

namespace {

// How long displayInit waits for the window manager to report the frame
// around the window; without a window manager there is none to wait for.
constexpr Uint32 kBorderWaitMs = 300;

int32_t displayWidth = 0;
int32_t displayHeight = 0;
FrameOutput frameOutput;
// Outer size of the window at zoom 1, border and caption included.
int32_t outerWidth = 0;
int32_t outerHeight = 0;

struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
};

Borders windowBorders() {
    Borders b;
    if (SDL_GetWindowBordersSize(frameOutput.window, &b.top, &b.left, &b.bottom, &b.right) != 0)
        return Borders{};
    return b;
}

// The window manager adds its frame after the window is shown and reports it
// through events; pump them until it is known (or plainly absent).
Borders waitForBorders() {
    const Uint32 start = SDL_GetTicks();
    Borders b = windowBorders();
    while (b.top == 0 && b.left == 0 && b.bottom == 0 && b.right == 0 &&
           SDL_GetTicks() - start < kBorderWaitMs) {
        SDL_Delay(5);
        SDL_PumpEvents();
        b = windowBorders();
    }
    return b;
}

SDL_Rect screenBounds() {
    SDL_Rect bounds{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &bounds);
    return bounds;
}

// Gives the window the outer size newWidth x newHeight, centred on the screen;
// positions may be negative when the window is larger than the screen.
void placeWindowOuter(int32_t newWidth, int32_t newHeight) {
    const Borders b = windowBorders();
    const SDL_Rect screen = screenBounds();
    const int32_t x = screen.x + centredOffset(screen.w, newWidth);
    const int32_t y = screen.y + centredOffset(screen.h, newHeight);
    SDL_SetWindowSize(frameOutput.window, newWidth - b.left - b.right, newHeight - b.top - b.bottom);
    // SDL places windows by their client area.
    SDL_SetWindowPosition(frameOutput.window, x + b.left, y + b.top);
}

void zoomWindow(int32_t factor) { placeWindowOuter(outerWidth * factor, outerHeight * factor); }

// Set by Escape or a close request, once the display is shut down; the
// present that saw it tells the driver, which ends the program.
bool quitRequested = false;

void closeProgram() {
    displayShutdown();
    quitRequested = true;
}

void handleKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_ESCAPE: closeProgram(); break;
        case SDLK_1: zoomWindow(1); break;
        case SDLK_2: zoomWindow(2); break;
        case SDLK_4: zoomWindow(4); break;
        default: break;  // every other key does nothing
    }
}

void handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: closeProgram(); break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: showLastFrame(frameOutput, FramePlacement::FillArea); break;
        default: break;
    }
}

void handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: closeProgram(); break;
        case SDL_KEYDOWN: handleKey(event.key.keysym.sym); break;
        case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
        default: break;
    }
}

// Opens the window with its renderer, centred by its outer size.
bool openCentredWindow(const char* className) {
    frameOutput.window = SDL_CreateWindow(className, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          displayWidth, displayHeight, SDL_WINDOW_RESIZABLE);
    if (frameOutput.window == nullptr) return false;
    // Made before the window is placed: SDL may have to make the window anew
    // for the renderer's needs, which would undo the placement.
    frameOutput.renderer = createFrameRenderer(frameOutput.window);
    if (frameOutput.renderer == nullptr) return false;
    const Borders b = waitForBorders();
    outerWidth = displayWidth + b.left + b.right;
    outerHeight = displayHeight + b.top + b.bottom;
    placeWindowOuter(outerWidth, outerHeight);
    return true;
}

}  // namespace

int32_t displayInit(const char* className, int32_t width, int32_t height) {
    displayWidth = width;
    displayHeight = height;
    if (!startVideo()) return 0;
    if (!openCentredWindow(className)) return 0;
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(0, &mode);
    return startFrameOutput(frameOutput, width, height, mode.refresh_rate) ? 1 : 0;
}

int32_t displayPresent(const uint32_t* pixels) {
    SDL_Event event;
    while (!quitRequested && SDL_PollEvent(&event)) handleEvent(event);
    if (quitRequested) return kDisplayQuit;
    return presentFrame(frameOutput, pixels, FramePlacement::FillArea) ? 1 : 0;
}

void displayShutdown() { closeFrameOutput(frameOutput); }

RowConverter displaySelectedConverter() { return frameOutput.converter; }
