#pragma once
// The images and mesh of one benchmark scene. The data files are used when
// they lie in the working folder (the programs' run folder); otherwise
// deterministic synthetic images of the same sizes stand in, so the
// benchmarks run without the assets.
#include <cstdint>
#include <cstdio>

#include "driver/demo_state.h"
#include "driver/timeline.h"
#include "effects/mesh.h"
#include "raster/image.h"

namespace bench_scene {

// As the driver derives the angles from a frame's reading.
constexpr double kSpinPerMillisecond = 0.0002631578947368421;
constexpr double kRowPhasePerMillisecond = 0.0004;

inline bool fileExists(const char* name) {
    FILE* f = std::fopen(name, "rb");
    if (f == nullptr) return false;
    std::fclose(f);
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

inline void loadInto(Image& image, const char* fileName) {
    const Image loaded(image.getWidth(), image.getHeight(), fileName);
    image.copyOpaque(loaded, 0, 0);
}

struct Scene {
    Image background;
    Image flare;
    Image font;
    VertexList vertices;
    TriangleList triangles;
    bool fromFiles;

    Scene() : Scene(fileExists("welt.raw") && fileExists("flare.raw") && fileExists("font.raw")) {}

    // Brings the scene to the moment before the show frame at time of a
    // 60 Hz run: the jitter of the frames shown from 40001 ms on at 60 Hz
    // (1800 of them before 70000 ms), and the angles of the previous frame.
    // The frame at time itself is left to the caller.
    void advanceTo(int32_t time) {
        int32_t previous = time - 1000 / 60;
        if (time > kJitterStartTime + 1) {
            for (int32_t f = 0;; ++f) {
                const int32_t t = kJitterStartTime + 1 + int32_t(int64_t(f) * 1000 / 60);
                if (t >= time) break;
                jitterMesh(vertices, t);
                previous = t;
            }
        }
        spinAngle = previous * kSpinPerMillisecond;
        rowPhase = previous * kRowPhasePerMillisecond;
    }

    SceneImages images() const { return SceneImages{background, flare, font}; }

private:
    explicit Scene(bool files)
        : background(640, 480), flare(32, 32), font(320, 100), fromFiles(files) {
        if (files) {
            loadInto(background, "welt.raw");
            loadInto(flare, "flare.raw");
            loadInto(font, "font.raw");
        } else {
            syntheticBackground(background);
            syntheticFlare(flare);
            syntheticFont(font);
        }
        musicTime = 0;
        randomState = kRandomSeed;
        copyScrollMessage();
        setupScene(vertices, triangles, background);
    }
};

// Everything a show frame changes outside screen, to start every timed
// frame from the same state.
struct SceneSnapshot {
    MeshVertex vertices[kMeshVertexCount];
    int32_t random;
    double spin, row;

    void take(const Scene& scene) {
        for (int32_t i = 0; i < kMeshVertexCount; ++i) vertices[i] = scene.vertices.items[i];
        random = randomState;
        spin = spinAngle;
        row = rowPhase;
    }
    void restore(Scene& scene) const {
        for (int32_t i = 0; i < kMeshVertexCount; ++i) scene.vertices.items[i] = vertices[i];
        randomState = random;
        spinAngle = spin;
        rowPhase = row;
    }
};

}  // namespace bench_scene
