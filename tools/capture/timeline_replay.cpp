#include "timeline_replay.h"

#include <unistd.h>
#include <iostream>

#include "frame_schedule.h"
#include "scene/data_files.h"

namespace {

bool anyImageMissing(const std::string& folder) {
    for (const ImageFile& file : kImageFiles) {
        if (access((folder + file.name).c_str(), R_OK) != 0) return true;
    }
    return false;
}

}  // namespace

TimelineReplay::TimelineReplay(const std::string& dataFolder) {
    show.loadImages(dataFolder);
    // Brings any loader message out, as the demo does after its fourth load;
    // the messages carry no line end, the demo's next text starts with one.
    if (anyImageMissing(dataFolder)) std::cout << '\n';
    std::cout.flush();
    show.setUp();
}

int32_t TimelineReplay::run(int32_t fps, FrameSink& sink) {
    int32_t frame = 0;
    const bool finished = show.run([&] { return frameReading(frame, fps); },
                                   [](int32_t) {},  // the soundtrack applies the fade volumes itself
                                   [&] { return sink.present(frame++, show.frame()); });
    return finished ? frame : -1;
}
