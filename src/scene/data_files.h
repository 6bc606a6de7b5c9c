#pragma once
// The data files the demo reads from its working folder: the four raw
// images with the sizes the show draws them at, and the music module.
// The programs, the data generator and the tests all take them from here.
#include <cstdint>

struct ImageFile {
    const char* name;
    int32_t width;
    int32_t height;
};

inline constexpr ImageFile kBackgroundFile{"welt.raw", 640, 480};
inline constexpr ImageFile kFlareFile{"flare.raw", 32, 32};
inline constexpr ImageFile kSmallFlareFile{"flare2.raw", 12, 12};  // loaded, never drawn
inline constexpr ImageFile kFontFile{"font.raw", 320, 100};
// In the order the demo loads them.
inline constexpr ImageFile kImageFiles[] = {kBackgroundFile, kFlareFile, kSmallFlareFile, kFontFile};

inline constexpr const char* kSongFileName = "qzt_dmbl.xm";

// Bytes of a raw image file: three per pixel (r, g, b), no header.
inline constexpr int64_t rawImageBytes(const ImageFile& file) {
    return int64_t{file.width} * file.height * 3;
}
