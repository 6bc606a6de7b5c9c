#pragma once
// The page's check mode: the presentation composed at a fixed frame rate
// exactly as demo_capture composes it (frame k at the music time
// (k x 1000) / fps, every frame before it composed too), without sound, and a
// SHA-256 of each chosen frame's raw bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/run_loop.h"
#include "raster/image.h"
#include "scene/show.h"

struct CheckRequest {
    int32_t fps = 0;
    std::vector<int32_t> frames;  // ascending, no repeats
};

// Reads a page fragment such as "frames=0,2600,6000&fps=50" (a leading '#'
// is skipped; keys and values are percent-decoded; the page's "play" is
// allowed and means nothing here). Both keys are required, each once: fps
// from 1 to 1000, frames a list of frame numbers of the timeline at that
// rate. False, with the reason in error, on anything else: an unknown key,
// an empty part ("&&"), a bad percent escape.
bool parseCheckRequest(std::string_view fragment, CheckRequest& request, std::string& error);

// Lower-case hex SHA-256 of the frame's pixel words as little-endian bytes,
// the bytes `demo_capture --raw` writes for it.
std::string frameSha256(const Image& frame);

// The frame loop at the request's frame rate, a slice at a time so the page
// stays responsive between slices, with a screen that hashes the chosen frames.
class CheckRun : private Screen {
public:
    // The show must be set up and not yet stepped.
    CheckRun(Show& show, CheckRequest request);

    // Composes up to maxFrames more frames. True once every chosen frame is
    // hashed or the show has ended.
    bool advance(int32_t maxFrames);
    bool done() const;

    // One line "K hash" per chosen frame in ascending order; a frame past
    // the end of the show gets "K none".
    std::string report() const;
    int32_t framesComposed() const { return presented; }

private:
    bool present(const Image& frame) override;

    Show& show;
    CheckRequest request;
    FrameClock clock;
    std::vector<std::string> hashes;  // one per chosen frame reached so far
    int32_t presented = 0;
    bool ended = false;
};
