#include "display/sdl/frame_output.h"

#include "display/sdl/frame_geometry.h"
#include "display/sdl/frame_texture.h"
#include "display/sdl/video_start.h"

namespace {

void copyFrameToOutput(FrameOutput& output, FramePlacement placement) {
    if (placement == FramePlacement::FillArea) {
        SDL_RenderCopy(output.renderer, output.texture, nullptr, nullptr);
        return;
    }
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(output.renderer, &outputWidth, &outputHeight);
    const FrameBox box = fitFrameInArea(outputWidth, outputHeight, output.width, output.height);
    const SDL_Rect target{box.x, box.y, box.width, box.height};
    SDL_RenderClear(output.renderer);
    SDL_RenderCopy(output.renderer, output.texture, nullptr, &target);
}

}  // namespace

bool startFrameOutput(FrameOutput& output, int32_t width, int32_t height, int32_t refreshRate) {
    output.width = width;
    output.height = height;
    const uint32_t pixelFormat = SDL_GetWindowPixelFormat(output.window);
    output.converter = converterForPixelFormat(pixelFormat);
    if (output.converter == nullptr) {
        SDL_SetError("no converter for the display's pixel format %s", SDL_GetPixelFormatName(pixelFormat));
        return false;
    }
    output.texture = createFrameTexture(output.renderer, pixelFormat, width, height);
    if (output.texture == nullptr) return false;
    SDL_SetRenderDrawColor(output.renderer, 0, 0, 0, 255);  // the bars
    startFramePacer(output.pacer, refreshRate);
    return true;
}

bool presentFrame(FrameOutput& output, const uint32_t* pixels, FramePlacement placement) {
    if (!convertFrameIntoTexture(output.texture, output.converter, pixels, output.width, output.height)) {
        return false;
    }
    copyFrameToOutput(output, placement);
    waitForFrameSlot(output.pacer);
    SDL_RenderPresent(output.renderer);
    return true;
}

void showLastFrame(FrameOutput& output, FramePlacement placement) {
    if (output.texture == nullptr) return;
    copyFrameToOutput(output, placement);
    SDL_RenderPresent(output.renderer);
}

void closeFrameOutput(FrameOutput& output) {
    if (output.texture != nullptr) SDL_DestroyTexture(output.texture);
    output.texture = nullptr;
    if (output.renderer != nullptr) SDL_DestroyRenderer(output.renderer);
    output.renderer = nullptr;
    // Destroying a fullscreen window gives the desktop its mode back.
    if (output.window != nullptr) SDL_DestroyWindow(output.window);
    output.window = nullptr;
    stopVideo();
}
