#include "raster/image.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

// The text ends in a colon and a blank; the file name follows directly.
// The o-umlaut is written as UTF-8 for today's consoles.
constexpr const char kOpenErrorText[] =
    "Fehler beim \xC3\xB6"
    "ffnen der Bilddatei: ";

size_t pixelCount(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<size_t>(width) * static_cast<size_t>(height);
}

// Bytes r, g, b of pixel k become 0x00RRGGBB.
void convertRawPixels(const unsigned char* bytes, uint32_t* pixels, size_t count) {
    for (size_t k = 0; k < count; ++k) {
        const unsigned char* p = bytes + 3 * k;
        pixels[k] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[2]};
    }
}

// Pipes and devices are not opened: opening a pipe blocks until a writer
// comes, and a terminal waits for its input. A folder opens and reads as
// nothing, as it always has.
FILE* openRawFile(const char* fileName) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        return nullptr;
    }
    return std::fopen(fileName, "rb");
}

}  // namespace

Image::Image(int32_t w, int32_t h)
    : width(w), height(h), magic(kImageMagic), pixels(new uint32_t[pixelCount(w, h)]()) {}

Image::Image(int32_t w, int32_t h, const char* fileName, bool* opened) : Image(w, h) {
    const size_t count = pixelCount(w, h);
    // Zeroed, so bytes that a missing or short file does not supply read as 0.
    unsigned char* bytes = new unsigned char[count * 3]();
    FILE* file = openRawFile(fileName);
    if (opened != nullptr) *opened = file != nullptr;
    if (file == nullptr) {
        // No line end and no flush: the caller flushes after its last load.
        std::cout << kOpenErrorText << fileName;
    } else {
        (void)std::fread(bytes, 1, count * 3, file);
        std::fclose(file);
    }
    convertRawPixels(bytes, pixels, count);
    delete[] bytes;
}

Image::Image(Image&& other) noexcept
    : width(other.width), height(other.height), magic(other.magic), pixels(other.pixels) {
    other.width = 0;
    other.height = 0;
    other.pixels = nullptr;
}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        delete[] pixels;
        width = other.width;
        height = other.height;
        magic = other.magic;
        pixels = other.pixels;
        other.width = 0;
        other.height = 0;
        other.pixels = nullptr;
    }
    return *this;
}

Image::~Image() {
    delete[] pixels;
    pixels = nullptr;
}
