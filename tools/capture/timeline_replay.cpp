#include "timeline_replay.h"

#include <iostream>
#include <unistd.h>

#include "driver/demo_state.h"
#include "driver/timeline.h"
#include "frame_schedule.h"

namespace {

constexpr const char* kImageFiles[] = {"welt.raw", "flare.raw", "flare2.raw", "font.raw"};

bool anyImageMissing() {
    for (const char* name : kImageFiles) {
        if (access(name, R_OK) != 0) return true;
    }
    return false;
}

}  // namespace

ReplayStart::ReplayStart() {
    musicTime = 0;
    randomState = kRandomSeed;
    copyScrollMessage();
}

TimelineReplay::TimelineReplay()
    : background(640, 480, kImageFiles[0]),
      flare(32, 32, kImageFiles[1]),
      smallFlare(12, 12, kImageFiles[2]),
      font(320, 100, kImageFiles[3]) {
    // Brings any loader message out, as the driver does after its fourth load;
    // the messages carry no line end, the driver's next text starts with one.
    if (anyImageMissing()) std::cout << '\n';
    std::cout.flush();
    setupScene(vertices, triangles, background);
}

int32_t TimelineReplay::run(int32_t fps, FrameSink& sink) {
    int32_t frame = 0;
    const bool finished = runTimeline(
        vertices, triangles, SceneImages{background, flare, font},
        [&] { return frameReading(frame, fps); },
        [](int32_t) {},  // the soundtrack applies the fade volumes itself
        [&] { return sink.present(frame++, screen); });
    return finished ? frame : -1;
}
