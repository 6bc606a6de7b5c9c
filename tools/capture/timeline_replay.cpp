#include "timeline_replay.h"

#include <iostream>

#include "scene/frame_clock.h"

TimelineReplay::TimelineReplay(const std::string& dataFolder) {
    const bool allOpened = show.loadImages(dataFolder);
    // Brings any loader message out, as the demo does after its fourth load;
    // the messages carry no line end, the demo's next text starts with one.
    if (!allOpened) std::cout << '\n';
    std::cout.flush();
    show.setUp();
}

int32_t TimelineReplay::run(int32_t fps, FrameSink& sink) {
    int32_t frame = 0;
    // The music's volume is the soundtrack's: it follows the same timeline.
    const bool finished = show.run([&] { return frameReading(frame, fps); }, [](int32_t) {},
                                   [&] { return sink.present(frame++, show.frame()); });
    return finished ? frame : -1;
}
