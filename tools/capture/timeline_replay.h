#pragma once
// The driver's timeline replayed against a clock that advances by exactly
// one frame time per frame: start-up, show frames while musicTime is below
// the show end, fade frames while it is below the fade end. Each presented
// frame goes to a FrameSink instead of the display.
#include <cstdint>

#include "effects/mesh.h"
#include "raster/image.h"

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // The frame as the driver would present it; false stops the replay.
    virtual bool present(int32_t frame, const Image& picture) = 0;
};

// Puts the run-long state back where a fresh process has it and copies the
// scroll message, so several replays in one process start alike.
struct ReplayStart {
    ReplayStart();
};

class TimelineReplay {
public:
    // Start-up: scroll message, the four images from the working folder in
    // the driver's order (a missing file prints the loader's message), a
    // flush of standard output, then the scene set-up.
    TimelineReplay();

    // Runs both phases at fps; returns the number of frames presented, or
    // -1 when the sink stopped the run. Call once per TimelineReplay.
    int32_t run(int32_t fps, FrameSink& sink);

private:
    ReplayStart start;
    Image background;
    Image flare;
    Image smallFlare;  // loaded like the driver does, drawn by nothing
    Image font;
    VertexList vertices;
    TriangleList triangles;
};
