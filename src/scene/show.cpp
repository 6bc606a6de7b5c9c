#include "scene/show.h"

#include <algorithm>
#include <cstring>

#include "effects/wave.h"
#include "effects/wireframe.h"
#include "scene/scroll_message.h"

namespace {

constexpr int32_t kSmearTop = 240;
constexpr int32_t kSmearBottom = 479;

}  // namespace

Show::Show() { std::memcpy(text.data(), kScrollMessage, std::strlen(kScrollMessage) + 1); }

bool Show::loadImages(const std::string& folder) {
    bool opened[4] = {};
    const auto load = [&folder](const ImageFile& file, bool& fileOpened) {
        return Image(file.width, file.height, (folder + file.name).c_str(), &fileOpened);
    };
    pictures.background = load(kBackgroundFile, opened[0]);
    pictures.flare = load(kFlareFile, opened[1]);
    pictures.smallFlare = load(kSmallFlareFile, opened[2]);
    pictures.font = load(kFontFile, opened[3]);
    return opened[0] && opened[1] && opened[2] && opened[3];
}

void Show::setUp() {
    buildMesh(meshVertices, meshTriangles);
    spin = 1.0;
    rows = 1.0;
    screen.fill(0);
    pictures.background.darken(kBackgroundDarkening);
    projectMesh(meshVertices, spin, kMeshTilt);
}

bool Show::finished() const { return timeline.finished(lastReading); }

ShowStep Show::step(int32_t reading) {
    const TimelineStep next = timeline.next(lastReading, reading);
    switch (next.phase) {
        case TimelinePhase::Show: composeShowFrame(reading); return {ShowAction::Present, 0};
        case TimelinePhase::Fade:
            composeFadeFrame(reading);
            return {ShowAction::SetVolumeAndPresent, next.volume};
        case TimelinePhase::Over: break;
    }
    return {ShowAction::Stop, 0};
}

void Show::composeShowFrame(int32_t t) {
    lastReading = t;
    jitterMesh(meshVertices, t, generator);
    screen.copyOpaque(pictures.background, 0, 0);
    drawScroller(screen, pictures.font, t, text);
    // The wave and the projection use the angles of the previous frame.
    waveMesh(meshVertices, kColumnPhaseFactor * spin, rows, t);
    projectMesh(meshVertices, spin, kMeshTilt);
    drawWireframe(meshTriangles, screen);
    screen.blurRows(kSmearTop, kSmearBottom);
    drawFlares(meshVertices, screen, pictures.flare);
    spin = static_cast<double>(t) * kSpinPerMillisecond;
    rows = static_cast<double>(t) * kRowPhasePerMillisecond;
}

void Show::passShowFrame(int32_t t) {
    lastReading = t;
    jitterMesh(meshVertices, t, generator);
    spin = static_cast<double>(t) * kSpinPerMillisecond;
    rows = static_cast<double>(t) * kRowPhasePerMillisecond;
}

void Show::composeFadeFrame(int32_t t) {
    lastReading = t;
    screen.darken(kFadeDarkening);
}

Show::Snapshot Show::snapshot() const {
    Snapshot saved;
    const int32_t n = std::min(meshVertices.count, kMeshVertexCount);
    std::copy_n(meshVertices.items, n, saved.vertices.begin());
    saved.musicTime = lastReading;
    saved.spinAngle = spin;
    saved.rowPhase = rows;
    saved.random = generator;
    return saved;
}

void Show::restore(const Snapshot& saved) {
    const int32_t n = std::min(meshVertices.count, kMeshVertexCount);
    std::copy_n(saved.vertices.begin(), n, meshVertices.items);
    lastReading = saved.musicTime;
    spin = saved.spinAngle;
    rows = saved.rowPhase;
    generator = saved.random;
}
