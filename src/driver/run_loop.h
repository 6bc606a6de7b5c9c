#pragma once
// The one frame loop of every front end: read the music clock, let the show
// compose the frame for that reading (a fade frame first hands its volume to
// the music), present the frame. The demo programs and the page run it
// against the song's clock and a display; the capture and the page's check
// mode against a frame clock and a file or hash sink.
#include <cstdint>

#include "raster/image.h"
#include "scene/show.h"

// Where the time comes from, and where a fade frame's volume goes.
class MusicClock {
public:
    virtual ~MusicClock() = default;
    // Milliseconds of music, read once at the start of every frame.
    virtual int32_t read() = 0;
    // The music's volume for the frame just composed, set before it is presented.
    virtual void setVolume(int32_t volume) = 0;
};

// Where a finished frame goes.
class Screen {
public:
    virtual ~Screen() = default;
    // False ends the loop: the viewer asked to quit, or the frame could not be kept.
    virtual bool present(const Image& frame) = 0;
};

// The clock of the hosts that compose at a fixed frame rate: frame k reads
// (k x 1000) / fps milliseconds. The volume is the soundtrack's affair.
class FrameClock : public MusicClock {
public:
    explicit FrameClock(int32_t fps) : fps(fps) {}
    int32_t read() override;
    void setVolume(int32_t) override {}
    // Frames read so far: the index of the next one.
    int32_t framesRead() const { return nextFrame; }

private:
    int32_t fps;
    int32_t nextFrame = 0;
};

enum class FrameResult {
    Presented,     // a frame was composed and presented
    Stopped,       // the screen refused the frame: the viewer quit, or a sink failed
    TimelineOver,  // the fade has ended; the clock was not read
};

// One pass of the timeline. Once the fade has ended it reads nothing and
// answers TimelineOver.
FrameResult runFrame(Show& show, MusicClock& clock, Screen& screen);

// Passes until the screen stops the loop or the timeline is over.
FrameResult runFrames(Show& show, MusicClock& clock, Screen& screen);
