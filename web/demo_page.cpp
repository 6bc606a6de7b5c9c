// The demo in a web page. The page's script calls these functions: one
// instance of the module plays the presentation once, as one run of the
// native program does, and a new instance plays it again.
//
// Playing: demo_load (banner, images), then on the viewer's click
// demo_start (music, scene set-up), then demo_frame once per animation
// frame, which composes the frame for the music clock's current reading and
// leaves it in demo_pixels() as RGBA. The music position is the only clock:
// a frame that comes late simply shows a later moment, nothing is made up.
//
// Checking: demo_load, demo_check_begin with the page's fragment, then
// demo_check_advance in slices until it returns 1; demo_text() has the hashes.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "check_run.h"
#include "driver/demo_host.h"
#include "rgba_frame.h"

namespace {

enum class Stage { Empty, Loaded, Playing, Checking, Over };

// Keeps each presented frame as RGBA for the page's canvas.
class RgbaScreen : public Screen {
public:
    bool present(const Image& frame) override {
        convertToRgba(frame, rgba.data());
        return true;
    }
    std::vector<uint8_t> rgba = std::vector<uint8_t>(size_t{4} * kScreenWidth * kScreenHeight);
};

struct Page {
    Stage stage = Stage::Empty;
    std::unique_ptr<DemoHost> host;
    std::unique_ptr<CheckRun> check;
    RgbaScreen screen;
    std::string text;
};

// Never destroyed: the runtime of a page does not end.
Page& page() {
    static Page* const instance = new Page;
    return *instance;
}

}  // namespace

extern "C" {

// Banner texts and the four images from the working folder. 1 on success.
EMSCRIPTEN_KEEPALIVE int demo_load() {
    Page& p = page();
    if (p.stage != Stage::Empty) return 0;
    p.host = std::make_unique<DemoHost>(kSoundLibrary);
    p.host->loadData();
    p.stage = Stage::Loaded;
    return 1;
}

// Starts the music and sets the scene up; call it from the viewer's click,
// as browsers only let a page make sound after one. 0 with the reason in
// demo_text() when the sound cannot start.
EMSCRIPTEN_KEEPALIVE int demo_start() {
    Page& p = page();
    if (p.stage != Stage::Loaded) return 0;
    if (!p.host->startMusic()) {
        // The page shows the line; the sound system a failed load left open is closed.
        const std::string& failure = p.host->failure();
        say(failure.c_str());
        p.text = failure.substr(0, failure.find('\n'));
        FSOUND_Close();
        p.stage = Stage::Over;
        return 0;
    }
    p.host->setUpScene();
    p.host->go();
    p.stage = Stage::Playing;
    return 1;
}

// One frame for the music clock's reading now. 1 when a frame is ready in
// demo_pixels(); 0 once the show is over (the music is freed, the sound
// closed and the credits printed).
EMSCRIPTEN_KEEPALIVE int demo_frame() {
    Page& p = page();
    if (p.stage != Stage::Playing) return 0;
    if (p.host->frame(p.screen) == FrameResult::Presented) return 1;
    p.host->close();
    p.stage = Stage::Over;
    return 0;
}

// Escape: the show ends at once and the sound stops; no credits, as natively.
EMSCRIPTEN_KEEPALIVE void demo_stop() {
    Page& p = page();
    if (p.stage == Stage::Playing) FSOUND_Close();
    p.stage = Stage::Over;
}

EMSCRIPTEN_KEEPALIVE uint8_t* demo_pixels() { return page().screen.rgba.data(); }

// The reading the last frame was composed for, in milliseconds.
EMSCRIPTEN_KEEPALIVE int demo_music_time() {
    const Page& p = page();
    return p.host ? p.host->show().musicTime() : 0;
}

// Check mode from the page's fragment ("frames=0,2600,6000&fps=50"): sets
// the scene up without sound. 0 with the reason in demo_text() on a bad request.
EMSCRIPTEN_KEEPALIVE int demo_check_begin(const char* fragment) {
    Page& p = page();
    if (p.stage != Stage::Loaded) return 0;
    CheckRequest request;
    if (!parseCheckRequest(fragment, request, p.text)) return 0;
    p.host->setUpScene();
    p.check = std::make_unique<CheckRun>(p.host->show(), std::move(request));
    p.stage = Stage::Checking;
    return 1;
}

// Composes up to maxFrames more frames of the check and leaves the last in
// demo_pixels(); 1 once it is done, and then demo_text() holds its "K hash" lines.
EMSCRIPTEN_KEEPALIVE int demo_check_advance(int maxFrames) {
    Page& p = page();
    if (p.stage != Stage::Checking) return p.stage == Stage::Over ? 1 : 0;
    const bool done = p.check->advance(maxFrames);
    p.screen.present(p.host->show().frame());  // the page shows the check's progress
    if (!done) return 0;
    p.text = p.check->report();
    p.stage = Stage::Over;
    return 1;
}

EMSCRIPTEN_KEEPALIVE int demo_check_frames_composed() {
    const Page& p = page();
    return p.check ? p.check->framesComposed() : 0;
}

// The check's report or the reason of the last failure.
EMSCRIPTEN_KEEPALIVE const char* demo_text() { return page().text.c_str(); }

}  // extern "C"
