#pragma once
// The demo's show replayed against a clock that advances by exactly one
// frame time per frame: start-up, show frames, then fade frames. Each
// presented frame goes to a FrameSink instead of the display.
#include <cstdint>
#include <string>

#include "raster/image.h"
#include "scene/show.h"

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // The frame as the demo would present it; false stops the replay.
    virtual bool present(int32_t frame, const Image& picture) = 0;
};

class TimelineReplay {
public:
    // Start-up: the four images from the data folder (a prefix of their
    // names, empty for the working folder) in the demo's order (a missing
    // file prints the loader's message), a flush of standard output, then
    // the scene set-up.
    explicit TimelineReplay(const std::string& dataFolder = "");

    // Runs both phases at fps; returns the number of frames presented, or
    // -1 when the sink stopped the run. Call once per TimelineReplay.
    int32_t run(int32_t fps, FrameSink& sink);

private:
    Show show;
};
