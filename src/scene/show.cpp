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

Show::Show() { std::memcpy(scrollText_.data(), kScrollMessage, std::strlen(kScrollMessage) + 1); }

bool Show::loadImages(const std::string& folder) {
    bool opened[4] = {};
    const auto load = [&folder](const ImageFile& file, bool& fileOpened) {
        return Image(file.width, file.height, (folder + file.name).c_str(), &fileOpened);
    };
    images_.background = load(kBackgroundFile, opened[0]);
    images_.flare = load(kFlareFile, opened[1]);
    images_.smallFlare = load(kSmallFlareFile, opened[2]);
    images_.font = load(kFontFile, opened[3]);
    return opened[0] && opened[1] && opened[2] && opened[3];
}

void Show::setUp() {
    buildMesh(vertices_, triangles_);
    spinAngle_ = 1.0;
    rowPhase_ = 1.0;
    frame_.fill(0);
    images_.background.darken(kBackgroundDarkening);
    projectMesh(vertices_, spinAngle_, kMeshTilt);
}

bool Show::finished() const { return timeline_.finished(musicTime_); }

ShowStep Show::step(int32_t reading) {
    const TimelineStep next = timeline_.next(musicTime_, reading);
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
    musicTime_ = t;
    jitterMesh(vertices_, t, random_);
    frame_.copyOpaque(images_.background, 0, 0);
    drawScroller(frame_, images_.font, t, scrollText_);
    // The wave and the projection use the angles of the previous frame.
    waveMesh(vertices_, kColumnPhaseFactor * spinAngle_, rowPhase_, t);
    projectMesh(vertices_, spinAngle_, kMeshTilt);
    drawWireframe(triangles_, frame_);
    frame_.blurRows(kSmearTop, kSmearBottom);
    drawFlares(vertices_, frame_, images_.flare);
    spinAngle_ = static_cast<double>(t) * kSpinPerMillisecond;
    rowPhase_ = static_cast<double>(t) * kRowPhasePerMillisecond;
}

void Show::passShowFrame(int32_t t) {
    musicTime_ = t;
    jitterMesh(vertices_, t, random_);
    spinAngle_ = static_cast<double>(t) * kSpinPerMillisecond;
    rowPhase_ = static_cast<double>(t) * kRowPhasePerMillisecond;
}

void Show::composeFadeFrame(int32_t t) {
    musicTime_ = t;
    frame_.darken(kFadeDarkening);
}

Show::Snapshot Show::snapshot() const {
    Snapshot saved;
    const int32_t n = std::min(vertices_.count, kMeshVertexCount);
    std::copy_n(vertices_.items, n, saved.vertices.begin());
    saved.musicTime = musicTime_;
    saved.spinAngle = spinAngle_;
    saved.rowPhase = rowPhase_;
    saved.random = random_;
    return saved;
}

void Show::restore(const Snapshot& saved) {
    const int32_t n = std::min(vertices_.count, kMeshVertexCount);
    std::copy_n(saved.vertices.begin(), n, vertices_.items);
    musicTime_ = saved.musicTime;
    spinAngle_ = saved.spinAngle;
    rowPhase_ = saved.rowPhase;
    random_ = saved.random;
}
