#pragma once
// The system's only raster type and its pixel operations.
// Pixels are 32-bit words 0x00RRGGBB (blue in bits 0-7), row-major, pitch = width.
#include <cstdint>

inline constexpr uint32_t kImageMagic = 0x12345;

class Image {
public:
    // Blank image. Pixels start at 0 so nothing ever reads undefined memory.
    Image(int32_t width, int32_t height);
    // Loads a headerless 24-bit RGB file of width x height x 3 bytes. A file
    // that cannot be opened (missing, unreadable, or a pipe or device, which
    // could block) prints the loader's message and leaves the pixels 0;
    // *opened, when given, tells which it was.
    Image(int32_t width, int32_t height, const char* fileName, bool* opened = nullptr);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    // Moving hands the pixel array over; the source is left 0x0 and empty.
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    uint32_t getMagic() const { return magic; }
    uint32_t* getPixels() { return pixels; }
    const uint32_t* getPixels() const { return pixels; }

    void fill(uint32_t value);
    void copyOpaque(const Image& src, int32_t x, int32_t y);
    void addBlend(const Image& src, int32_t x, int32_t y);
    void blitKeyed(const Image& src, int32_t dstX, int32_t dstY, int32_t srcX, int32_t srcY, int32_t w,
                   int32_t h);
    void blurRows(int32_t top, int32_t bottom);
    void darken(int32_t amount);

private:
    int32_t width;
    int32_t height;
    uint32_t magic;
    uint32_t* pixels;
};

// The size of the frame every pass composes and hands to the display.
inline constexpr int32_t kScreenWidth = 640;
inline constexpr int32_t kScreenHeight = 480;
