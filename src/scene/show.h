#pragma once
// The whole presentation as one object: every piece of run-long state (the
// frame, the last music reading, the two angles, the scroll text, the random
// generator, the mesh and the images) and the two phases of the timeline.
// A host drives it through the frame loop (driver/run_loop.h): it reads the
// music clock, hands the reading to step(), and does what the step asks
// (present the frame, set the music's volume first, or stop).
#include <array>
#include <cstdint>
#include <string>

#include "effects/mesh.h"
#include "effects/scroller.h"
#include "raster/image.h"
#include "scene/data_files.h"
#include "scene/timeline.h"

// The pictures a show draws from, at the sizes of their files.
struct ShowImages {
    Image background{kBackgroundFile.width, kBackgroundFile.height};
    Image flare{kFlareFile.width, kFlareFile.height};
    Image smallFlare{kSmallFlareFile.width, kSmallFlareFile.height};  // loaded, never drawn
    Image font{kFontFile.width, kFontFile.height};
};

enum class ShowAction {
    Present,              // show the frame
    SetVolumeAndPresent,  // set the music's volume to ShowStep::volume, then show the frame
    Stop,                 // the presentation is over; nothing was composed
};

struct ShowStep {
    ShowAction action = ShowAction::Stop;
    int32_t volume = 0;
};

class Show {
public:
    // The scroll message in place, the generator at its seed, the frame and
    // the images blank (all pixels 0), no mesh yet.
    Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    // The four images from the working folder (or from folder, a prefix of
    // their names) in the demo's order; a missing file prints the loader's
    // message on standard output (no flush). False when any file could not
    // be opened.
    bool loadImages(const std::string& folder = "");
    // For hosts that bring pictures of their own (tests, benchmarks).
    ShowImages& images() { return images_; }
    const ShowImages& images() const { return images_; }

    // Start-up scene: builds the mesh, sets both angles to 1.0, clears the
    // frame, darkens the background by 50 and projects the mesh once.
    void setUp();

    // True once the fade has ended: step() would only say Stop.
    bool finished() const;
    // One pass of the timeline for a music clock reading in milliseconds:
    // a show frame while the previous reading was below the show end, then
    // fade frames while it is below the fade end, then Stop. A fade frame's
    // volume is the timeline's.
    ShowStep step(int32_t reading);

    // The frame as the last step composed it (640x480).
    const Image& frame() const { return frame_; }

    // One show frame for clock reading t: jitter, background, scroller,
    // wave, projection, wireframe, smear, flares, then the angles for the
    // next frame. Usually reached through step().
    void composeShowFrame(int32_t t);
    // What a show frame for reading t carries over to the next frame (the
    // jitter, the reading and the angles) without composing its picture:
    // the wave and the projection of the next frame rewrite everything else.
    // Benchmarks use it to reach a moment of the show quickly.
    void passShowFrame(int32_t t);
    // One fade frame: darkens the frame by 3.
    void composeFadeFrame(int32_t t);

    int32_t musicTime() const { return musicTime_; }
    double spinAngle() const { return spinAngle_; }
    double rowPhase() const { return rowPhase_; }
    const RandomState& random() const { return random_; }
    const VertexList& vertices() const { return vertices_; }
    const TriangleList& triangles() const { return triangles_; }
    const ScrollText& scrollText() const { return scrollText_; }

    // What a show frame carries over to the next: the mesh's vertices, the
    // reading, the angles and the generator. Restoring one taken in the show
    // phase lets the same frame be composed again (benchmarks do); it
    // allocates nothing.
    struct Snapshot {
        std::array<MeshVertex, kMeshVertexCount> vertices{};
        int32_t musicTime = 0;
        double spinAngle = 0.0;
        double rowPhase = 0.0;
        RandomState random;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& saved);

private:
    Image frame_{kScreenWidth, kScreenHeight};
    ShowImages images_;
    ScrollText scrollText_{};
    int32_t musicTime_ = 0;  // 0 until the first frame reads the clock
    double spinAngle_ = 1.0;
    double rowPhase_ = 1.0;
    RandomState random_;
    VertexList vertices_;
    TriangleList triangles_;
    Timeline timeline_;
};
