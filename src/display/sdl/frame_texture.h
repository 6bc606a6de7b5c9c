#pragma once
// The drawing surface of the SDL back ends: a streaming texture of the frame's
// size in the display's own pixel format, filled row by row by a RowConverter.
#include <SDL.h>

#include <cstdint>

#include "display/converters.h"

// The converter for an SDL pixel format, or nullptr when none matches. The bit
// count is the storage size (SDL reports 15 bits for 5-5-5, stored in 16).
RowConverter converterForPixelFormat(uint32_t pixelFormat);

// A streaming texture of width x height in pixelFormat, scaled nearest-neighbour,
// never blended, and black until the first frame; nullptr on failure.
SDL_Texture* createFrameTexture(SDL_Renderer* renderer, uint32_t pixelFormat, int32_t width, int32_t height);

// Locks the texture, converts the frame's rows into it at the locked pitch and
// unlocks it. Returns false, with nothing converted, when the lock fails.
bool convertFrameIntoTexture(SDL_Texture* texture, RowConverter converter, const uint32_t* pixels,
                             int32_t width, int32_t height);

// A renderer for the window that waits for the vertical blank where it can;
// nullptr on failure.
SDL_Renderer* createFrameRenderer(SDL_Window* window);
