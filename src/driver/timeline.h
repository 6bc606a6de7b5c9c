#pragma once
// The per-frame work of the show and fade phases, free of any platform code,
// shared by the demo programs, the capture tool, the tests and the benchmarks.
#include <cstdint>
#include "driver/demo_state.h"
#include "effects/mesh.h"
#include "raster/image.h"

inline constexpr int32_t kShowEndTime = 150000;
inline constexpr int32_t kFadeEndTime = 160000;
inline constexpr int32_t kBackgroundDarkening = 50;
inline constexpr int32_t kFadeDarkening = 3;

// The images a show frame draws from.
struct SceneImages {
    const Image& background;
    const Image& flare;
    const Image& font;
};

// Copies the built-in message, terminating zero included, into scrollText.
void copyScrollMessage();

// Start-up scene: builds the mesh, resets the angles, clears screen,
// darkens the background by 50 and projects the mesh once.
void setupScene(VertexList& vertices, TriangleList& triangles, Image& background);

// One frame of the show phase for clock reading t (stored in musicTime):
// jitter, background, scroller, wave, projection, wireframe, smear, flares,
// then the angles for the next frame. The result is in screen.
void composeShowFrame(int32_t t, VertexList& vertices, const TriangleList& triangles,
                      const SceneImages& images);

// Music volume of a fade frame: 255 at 150000 ms falling to 1 at 159999 ms,
// below 0 past 160040 ms; not clamped.
int32_t fadeVolume(int32_t t);

// One frame of the fade phase: stores t in musicTime, darkens screen by 3
// and returns the volume for the music.
int32_t composeFadeFrame(int32_t t);

// Both phases as the driver runs them: show frames while musicTime is below
// the show end, then fade frames while it is below the fade end, each frame
// taking one readClock() reading. setVolume receives every fade frame's
// volume; present() shows screen and returns false to stop the run.
// Returns false when present() stopped it.
template <typename ReadClock, typename SetVolume, typename Present>
bool runTimeline(VertexList& vertices, const TriangleList& triangles, const SceneImages& images,
                 ReadClock readClock, SetVolume setVolume, Present present) {
    while (musicTime < kShowEndTime) {
        composeShowFrame(readClock(), vertices, triangles, images);
        if (!present()) return false;
    }
    while (musicTime < kFadeEndTime) {
        setVolume(composeFadeFrame(readClock()));
        if (!present()) return false;
    }
    return true;
}
