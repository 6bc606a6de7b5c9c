// Display back end of demo_fullscreen: the whole screen at 640x480 where the
// display offers that mode, otherwise the desktop in fullscreen with the frame
// fitted into it, aspect kept, between black bars. While the window has no
// input focus nothing is drawn, and each present waits for events a while
// instead of handing the next frame back at once.
#include <SDL.h>

#include "display/display.h"
#include "display/sdl/frame_output.h"
#include "display/sdl/frame_texture.h"
#include "display/sdl/selected_converter.h"
#include "display/sdl/video_start.h"

namespace {

// Depths tried for the exclusive mode, in bits per pixel as stored.
constexpr int32_t kModeDepths[] = {32, 24, 16};
// Longest wait for an event in a present without focus: the frames composed
// meanwhile are never shown, but the timeline keeps following the music.
constexpr int32_t kUnfocusedWaitMs = 50;

int32_t displayWidth = 0;
int32_t displayHeight = 0;
FrameOutput frameOutput;
// Nonzero while the window has input focus.
int32_t appActive = 0;

// Set by Escape or a close request, once the display is shut down; the
// present that saw it tells the driver, which ends the program.
bool quitRequested = false;

void closeProgram() {
    displayShutdown();
    quitRequested = true;
}

void handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: closeProgram(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: appActive = 1; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: appActive = 0; break;
        default: break;
    }
}

void handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT: closeProgram(); break;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE) closeProgram();
            break;  // every other key does nothing
        case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
        default: break;
    }
}

// A display mode of the frame's size, trying the depths in order.
bool findFrameSizedMode(SDL_DisplayMode& found) {
    const int modeCount = SDL_GetNumDisplayModes(0);
    for (const int32_t depth : kModeDepths) {
        for (int i = 0; i < modeCount; ++i) {
            SDL_DisplayMode mode{};
            if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
            const int32_t storedBits = static_cast<int32_t>(SDL_BYTESPERPIXEL(mode.format)) * 8;
            if (mode.w == displayWidth && mode.h == displayHeight && storedBits == depth) {
                found = mode;
                return true;
            }
        }
    }
    return false;
}

// Takes the screen in the frame-sized mode when there is one, else covers the
// desktop without changing its mode.
bool takeScreen(const SDL_DisplayMode* frameMode) {
    if (frameMode != nullptr && SDL_SetWindowDisplayMode(frameOutput.window, frameMode) == 0 &&
        SDL_SetWindowFullscreen(frameOutput.window, SDL_WINDOW_FULLSCREEN) == 0) {
        return true;
    }
    return SDL_SetWindowFullscreen(frameOutput.window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

// The window is made as large as the screen it will cover: the desktop when
// there is no frame-sized mode. Without a window manager no one resizes it
// for fullscreen, and the picture is laid out for the size SDL reports.
SDL_Window* createScreenWindow(const char* title, bool frameSized) {
    SDL_DisplayMode desktop{};
    const bool desktopKnown = !frameSized && SDL_GetDesktopDisplayMode(0, &desktop) == 0;
    const int width = desktopKnown ? desktop.w : displayWidth;
    const int height = desktopKnown ? desktop.h : displayHeight;
    return SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                            SDL_WINDOW_HIDDEN);
}

// Without focus: waits for the next event (focus coming back among them) or
// the time limit, then handles whatever has come.
void waitWithoutFocus() {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, kUnfocusedWaitMs) != 0) handleEvent(event);
    while (!quitRequested && SDL_PollEvent(&event)) handleEvent(event);
}

}  // namespace

int32_t displayInit(const char* className, int32_t width, int32_t height) {
    displayWidth = width;
    displayHeight = height;
    if (!startVideo()) return 0;
    SDL_DisplayMode frameMode{};
    const bool frameSized = findFrameSizedMode(frameMode);
    frameOutput.window = createScreenWindow(className, frameSized);
    if (frameOutput.window == nullptr) return 0;
    // The renderer first: SDL may make the window anew for the renderer's needs.
    frameOutput.renderer = createFrameRenderer(frameOutput.window);
    if (frameOutput.renderer == nullptr) return 0;
    if (!takeScreen(frameSized ? &frameMode : nullptr)) return 0;
    SDL_ShowWindow(frameOutput.window);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_DisplayMode current{};
    SDL_GetWindowDisplayMode(frameOutput.window, &current);
    if (!startFrameOutput(frameOutput, width, height, current.refresh_rate)) return 0;
    // Focus events that follow adjust this.
    appActive = (SDL_GetWindowFlags(frameOutput.window) & SDL_WINDOW_INPUT_FOCUS) != 0 ? 1 : 0;
    return 1;
}

int32_t displayPresent(const uint32_t* pixels) {
    SDL_Event event;
    while (!quitRequested && SDL_PollEvent(&event)) handleEvent(event);
    if (!quitRequested && !appActive) waitWithoutFocus();
    if (quitRequested) return kDisplayQuit;
    if (!appActive) return 1;
    return presentFrame(frameOutput, pixels, FramePlacement::FitWithBars) ? 1 : 0;
}

void displayShutdown() {
    closeFrameOutput(frameOutput);
    SDL_ShowCursor(SDL_ENABLE);
}

RowConverter displaySelectedConverter() { return frameOutput.converter; }
