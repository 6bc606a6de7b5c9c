#include "display/sdl/frame_texture.h"

#include <cstring>

RowConverter converterForPixelFormat(uint32_t pixelFormat) {
    int bitsPerPixel = 0;
    Uint32 redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    if (!SDL_PixelFormatEnumToMasks(pixelFormat, &bitsPerPixel, &redMask, &greenMask, &blueMask,
                                    &alphaMask)) {
        return nullptr;
    }
    const uint32_t storedBits = SDL_BYTESPERPIXEL(pixelFormat) * 8u;
    return selectRowConverter(storedBits, redMask, greenMask, blueMask);
}

namespace {

bool clearTexture(SDL_Texture* texture, uint32_t pixelFormat, int32_t width, int32_t height) {
    void* base = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &base, &pitch) != 0) return false;
    const size_t rowBytes = static_cast<size_t>(width) * SDL_BYTESPERPIXEL(pixelFormat);
    for (int32_t row = 0; row < height; ++row) {
        std::memset(static_cast<uint8_t*>(base) + static_cast<ptrdiff_t>(row) * pitch, 0, rowBytes);
    }
    SDL_UnlockTexture(texture);
    return true;
}

}  // namespace

SDL_Texture* createFrameTexture(SDL_Renderer* renderer, uint32_t pixelFormat, int32_t width, int32_t height) {
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, pixelFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) return nullptr;
    // The frame's top byte (0xFF on parts of the wireframe) is no alpha.
    const bool ready = SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE) == 0 &&
                       SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest) == 0 &&
                       clearTexture(texture, pixelFormat, width, height);
    if (!ready) {
        SDL_DestroyTexture(texture);
        return nullptr;
    }
    return texture;
}

bool convertFrameIntoTexture(SDL_Texture* texture, RowConverter converter, const uint32_t* pixels,
                             int32_t width, int32_t height) {
    void* base = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &base, &pitch) != 0) return false;
    uint8_t* destination = static_cast<uint8_t*>(base);
    for (int32_t row = 0; row < height; ++row) {
        converter(pixels + static_cast<ptrdiff_t>(row) * width,
                  destination + static_cast<ptrdiff_t>(row) * pitch, static_cast<uint32_t>(width));
    }
    SDL_UnlockTexture(texture);
    return true;
}

SDL_Renderer* createFrameRenderer(SDL_Window* window) {
    // Asked for by hint rather than flag: a flag would rule out renderers
    // that cannot wait for the blank, and the frame pacer covers those.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");
    return SDL_CreateRenderer(window, -1, 0);
}
