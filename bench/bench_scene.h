#pragma once
// The show of one benchmark, brought to a moment of a 60 Hz run. The data
// files are used when they lie in the working folder (the programs' run
// folder); otherwise deterministic synthetic images of the same sizes stand
// in, so the benchmarks run without the data.
#include <cstdint>
#include <cstdio>

#include "raster/image.h"
#include "scene/show.h"

namespace bench_scene {

inline constexpr int32_t kBenchFps = 60;

inline bool fileExists(const char* name) {
    FILE* f = std::fopen(name, "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

inline bool dataFilesPresent() {
    for (const ImageFile& file : kImageFiles) {
        if (!fileExists(file.name)) return false;
    }
    return true;
}

// A small linear congruential sequence for the synthetic pictures.
inline uint32_t nextNoise(uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

inline void syntheticBackground(Image& image) {
    uint32_t s = 1;
    for (int32_t i = 0; i < image.getWidth() * image.getHeight(); ++i)
        image.getPixels()[i] = nextNoise(s) & 0x00FFFFFF;
}

// A round light fading from the centre.
inline void syntheticFlare(Image& image) {
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            const int32_t d2 = (x - 16) * (x - 16) + (y - 16) * (y - 16);
            const int32_t v = d2 >= 256 ? 0 : 255 - d2;
            image.getPixels()[y * 32 + x] = uint32_t(v) * 0x00010101u;
        }
    }
}

// Glyph cells about half opaque, the rest the transparent key 0.
inline void syntheticFont(Image& image) {
    uint32_t s = 7;
    for (int32_t i = 0; i < image.getWidth() * image.getHeight(); ++i)
        image.getPixels()[i] = (nextNoise(s) & 1) ? 0x00E0E0E0u : 0u;
}

struct Scene {
    Show show;
    bool fromFiles = dataFilesPresent();

    // The show as it stands before its frame at time: every earlier frame
    // of a 60 Hz run has passed (its jitter and angles, not its picture).
    explicit Scene(int32_t time) {
        if (fromFiles) {
            show.loadImages();
        } else {
            syntheticBackground(show.images().background);
            syntheticFlare(show.images().flare);
            syntheticFont(show.images().font);
        }
        show.setUp();
        for (int32_t k = 0;; ++k) {
            const int32_t reading = int32_t(int64_t{k} * 1000 / kBenchFps);
            if (reading >= time) break;
            show.passShowFrame(reading);
        }
    }

    const char* label() const { return fromFiles ? "data files" : "synthetic images"; }
};

}  // namespace bench_scene
