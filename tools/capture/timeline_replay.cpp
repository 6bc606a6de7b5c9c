#include "timeline_replay.h"

#include <iostream>
#include <unistd.h>

#include "frame_schedule.h"
#include "scene/data_files.h"

namespace {

bool anyImageMissing() {
    for (const ImageFile& file : kImageFiles) {
        if (access(file.name, R_OK) != 0) return true;
    }
    return false;
}

}  // namespace

TimelineReplay::TimelineReplay() {
    show.loadImages();
    // Brings any loader message out, as the demo does after its fourth load;
    // the messages carry no line end, the demo's next text starts with one.
    if (anyImageMissing()) std::cout << '\n';
    std::cout.flush();
    show.setUp();
}

int32_t TimelineReplay::run(int32_t fps, FrameSink& sink) {
    int32_t frame = 0;
    const bool finished = show.run(
        [&] { return frameReading(frame, fps); },
        [](int32_t) {},  // the soundtrack applies the fade volumes itself
        [&] { return sink.present(frame++, show.frame()); });
    return finished ? frame : -1;
}
