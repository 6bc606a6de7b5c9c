#pragma once
// One run of demo_capture after its command line passed the checks:
// prepare() finds the encoder and the music and makes the outputs' folder
// before any work; run() replays the timeline into the chosen outputs.
#include <cstdint>
#include <memory>
#include <string>

#include "capture_options.h"
#include "frame_files.h"
#include "pending_file.h"
#include "scene/frame_clock.h"
#include "soundtrack.h"
#include "video_pipe.h"

class Progress;
class Show;

class CaptureSession {
public:
    CaptureSession(const CaptureOptions& options, bool interactive);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    bool prepare();
    bool run();

    const std::string& error() const { return message; }

private:
    bool needsSoundtrack() const;
    std::string songPath() const;
    bool writeSoundtrack();
    bool replayFrames(Show& show, Progress& progress);
    bool completeFiles();
    bool fail(const std::string& reason);
    std::string summaryOfOutputs(int32_t frameFiles) const;
    std::string videoDescription() const;

    CaptureOptions options;
    FrameSchedule schedule;
    bool interactive;
    Soundtrack soundtrack;
    PendingFile soundtrackFile;  // the --wav file, or a temporary one for the video
    PendingFile videoFile;
    bool madeFrameFolder = false;
    std::unique_ptr<FrameFiles> frameFiles;
    std::unique_ptr<VideoPipe> video;
    std::string message;
};
