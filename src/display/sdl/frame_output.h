#pragma once
// The way from a composed frame to the window, shared by both back ends: the
// window's renderer, a frame texture in the window's pixel format with the
// converter chosen for that format, and the pacer that keeps presents at the
// display's refresh rate.
#include <SDL.h>

#include <cstdint>

#include "display/converters.h"
#include "display/sdl/frame_pacer.h"

struct FrameOutput {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    RowConverter converter = nullptr;
    int32_t width = 0;  // of the frame
    int32_t height = 0;
    FramePacer pacer{};
};

enum class FramePlacement {
    FillArea,     // stretched over the whole output
    FitWithBars,  // as large as fits with its aspect kept, black bars around
};

// With window and renderer already set: chooses the converter for the
// window's pixel format and makes the texture of width x height. False when
// no converter matches or the texture cannot be made.
bool startFrameOutput(FrameOutput& output, int32_t width, int32_t height, int32_t refreshRate);

// Converts the frame's rows into the texture, waits for the frame slot and
// shows it placed in the renderer's output. False, with nothing shown, when
// the texture cannot be locked.
bool presentFrame(FrameOutput& output, const uint32_t* pixels, FramePlacement placement);

// Shows the last converted frame again at once, for a window that was
// uncovered or resized.
void showLastFrame(FrameOutput& output, FramePlacement placement);

// Destroys the texture, the renderer and the window, those that exist, and
// stops SDL's video.
void closeFrameOutput(FrameOutput& output);
