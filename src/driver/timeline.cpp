#include "driver/timeline.h"

#include <cstring>

#include "driver/demo_state.h"
#include "driver/scroll_message.h"
#include "effects/scroller.h"
#include "effects/wave.h"
#include "effects/wireframe.h"

namespace {

constexpr double kSpinPerMillisecond = 0.0002631578947368421;  // the double nearest 1/3800
constexpr double kRowPhasePerMillisecond = 0.0004;
constexpr double kColumnPhaseFactor = 5.0;
constexpr int32_t kSmearTop = 240;
constexpr int32_t kSmearBottom = 479;
constexpr int32_t kFullVolume = 255;
constexpr int32_t kFadeLength = kFadeEndTime - kShowEndTime;

}  // namespace

void copyScrollMessage() {
    std::memcpy(scrollText, kScrollMessage, std::strlen(kScrollMessage) + 1);
}

void setupScene(VertexList& vertices, TriangleList& triangles, Image& background) {
    buildMesh(vertices, triangles);
    spinAngle = 1.0;
    rowPhase = 1.0;
    screen.fill(0);
    background.darken(kBackgroundDarkening);
    projectMesh(vertices, spinAngle, kMeshTilt);
}

void composeShowFrame(int32_t t, VertexList& vertices, const TriangleList& triangles,
                      const SceneImages& images) {
    musicTime = t;
    jitterMesh(vertices, t);
    screen.copyOpaque(images.background, 0, 0);
    drawScroller(screen, images.font);
    // The wave and the projection use the angles of the previous frame.
    waveMesh(vertices, kColumnPhaseFactor * spinAngle, rowPhase);
    projectMesh(vertices, spinAngle, kMeshTilt);
    drawWireframe(triangles, screen);
    screen.blurRows(kSmearTop, kSmearBottom);
    drawFlares(vertices, screen, images.flare);
    spinAngle = static_cast<double>(t) * kSpinPerMillisecond;
    rowPhase = static_cast<double>(t) * kRowPhasePerMillisecond;
}

int32_t fadeVolume(int32_t t) {
    // 64-bit intermediate: the product cannot overflow for any reading.
    return static_cast<int32_t>((int64_t{kShowEndTime} - t) * kFullVolume / kFadeLength + kFullVolume);
}

int32_t composeFadeFrame(int32_t t) {
    musicTime = t;
    screen.darken(kFadeDarkening);
    return fadeVolume(t);
}
