#include "capture_session.h"

#include <cstdio>
#include <iostream>

#include "capture_platform.h"
#include "driver/run_loop.h"
#include "image_check.h"
#include "output_paths.h"
#include "progress.h"
#include "scene/data_files.h"
#include "stop_signals.h"

namespace {

// Hands each presented frame to the chosen outputs and the progress bar;
// a failed write stops the loop.
class CaptureSink : public Screen {
public:
    CaptureSink(FrameFiles* files, VideoPipe* video, Progress& progress)
        : files(files), video(video), progress(progress) {}

    bool present(const Image& picture) override {
        if (files != nullptr && !files->write(presented, picture)) return fail(files->error());
        if (video != nullptr && !video->write(picture)) return fail(video->error());
        progress.frameDone(presented++);
        return true;
    }

    int32_t framesPresented() const { return presented; }
    const std::string& error() const { return message; }

private:
    bool fail(const std::string& reason) {
        message = reason;
        return false;
    }

    FrameFiles* files;
    VideoPipe* video;
    Progress& progress;
    int32_t presented = 0;
    std::string message;
};

// The scene's start-up as the demo has it: the four images from the data
// folder in the demo's order, then the scene set up. Any loader message is
// brought out at once; it carries no line end, and the demo's next text
// starts with one, so here a line end follows it.
void setUpScene(Show& show, const std::string& dataFolder) {
    const bool allOpened = show.loadImages(dataFolder);
    if (!allOpened) std::cout << '\n';
    std::cout.flush();
    show.setUp();
}

}  // namespace

CaptureSession::CaptureSession(const CaptureOptions& chosen, bool isTerminal)
    : options(chosen), schedule(makeFrameSchedule(chosen.fps)), interactive(isTerminal) {}

// Unfinished outputs go with their PendingFile; a frame folder this run made
// goes too when no frame came into it.
CaptureSession::~CaptureSession() {
    if (!madeFrameFolder) return;
    forgetCreatedFolder();
    removeEmptyFolder(options.framesDir.c_str());
}

bool CaptureSession::fail(const std::string& reason) {
    message = reason;
    return false;
}

std::string CaptureSession::songPath() const { return options.dataFolder + kSongFileName; }

bool CaptureSession::needsSoundtrack() const {
    return !options.wavFile.empty() || !options.videoFile.empty();
}

bool CaptureSession::prepare() {
    if (!options.videoFile.empty() && !canStartPrograms()) {
        return fail(
            "--video needs the native build of demo_capture: this WebAssembly build "
            "cannot start ffmpeg (frames and --wav work)");
    }
    if (!options.videoFile.empty() && !isOnPath("ffmpeg")) {
        return fail(
            "--video needs the program ffmpeg, which is not installed "
            "(not found on PATH); install it (Debian: apt-get install ffmpeg)");
    }
    if (!checkImages(stderr, options.dataFolder, message)) return false;
    if (needsSoundtrack() && !soundtrack.load(songPath().c_str())) return fail(soundtrack.error());
    if (!options.framesDir.empty()) {
        madeFrameFolder = !pathFacts(options.framesDir).exists;
        if (!makeFrameFolder(options.framesDir, message)) return false;
        if (madeFrameFolder) registerCreatedFolder(options.framesDir.c_str());
        frameFiles = std::make_unique<FrameFiles>(
            options.framesDir, options.rawFrames, options.onlyFrames,
            linkedFrames(options.framesDir, options.rawFrames, options.onlyFrames, schedule.totalFrames));
    }
    return true;
}

// ffmpeg takes the soundtrack from a file; without --wav it is a temporary one.
bool CaptureSession::writeSoundtrack() {
    const bool temporary = options.wavFile.empty();
    const bool begun = temporary ? soundtrackFile.beginTemporary(".wav", message)
                                 : soundtrackFile.begin(options.wavFile, message);
    if (!begun) return false;
    WavFile wav;
    const std::string& shownName = temporary ? soundtrackFile.path() : options.wavFile;
    if (!wav.open(soundtrackFile.path(), soundtrackFrames(schedule), shownName)) return fail(wav.error());
    if (!soundtrack.render(schedule, wav)) return fail(soundtrack.error());
    if (!wav.close()) return fail(wav.error());
    if (!soundtrack.playedSound()) {
        return fail("the music '" + songPath() + "' plays no sound in the whole timeline");
    }
    return true;
}

// The files get their final names only once every output is complete.
bool CaptureSession::completeFiles() {
    if (!options.wavFile.empty() && !soundtrackFile.complete(message)) return false;
    if (!options.videoFile.empty() && !videoFile.complete(message)) return false;
    return true;
}

std::string CaptureSession::summaryOfOutputs(int32_t frameFilesWritten) const {
    std::string text;
    if (frameFiles) text += "; " + std::to_string(frameFilesWritten) + " frame files in " + options.framesDir;
    if (!options.wavFile.empty()) text += "; soundtrack " + options.wavFile;
    if (!options.videoFile.empty()) text += "; video " + options.videoFile + " (" + videoDescription() + ")";
    return text;
}

std::string CaptureSession::videoDescription() const {
    return describeVideo(options.videoQuality, options.videoWidth, options.videoHeight);
}

bool CaptureSession::replayFrames(Show& show, Progress& progress) {
    if (!options.videoFile.empty()) {
        video = std::make_unique<VideoPipe>();
        if (!videoFile.begin(options.videoFile, message)) return false;
        const VideoSettings settings{videoFile.path(),    options.videoFile,  soundtrackFile.path(),
                                     options.fps,         options.videoWidth, options.videoHeight,
                                     options.videoQuality};
        if (!video->start(settings)) return fail(video->error());
    }
    // A terminal shows what the video will be before the long encoding.
    if (video && interactive) std::fprintf(stderr, "demo_capture: encoding %s\n", videoDescription().c_str());
    CaptureSink sink(frameFiles.get(), video.get(), progress);
    FrameClock clock(options.fps);
    progress.startFrames();
    // The music's volume is the soundtrack's: it follows the same timeline.
    if (runFrames(show, clock, sink) == FrameResult::Stopped) return fail(sink.error());
    const int32_t frames = sink.framesPresented();
    if (video && !video->finish()) return fail(video->error());
    // An encoder that ends well but wrote nothing made no video.
    if (video && pathFacts(videoFile.path()).size == 0) {
        return fail("ffmpeg ended without writing the video '" + options.videoFile + "'");
    }
    if (!completeFiles()) return false;
    const int32_t filesWritten = frameFiles ? frameFiles->filesWritten() : 0;
    progress.finish(frames, options.fps, captureLengthMs(schedule), summaryOfOutputs(filesWritten).c_str());
    return true;
}

bool CaptureSession::run() {
    Progress progress(stderr, interactive, schedule.totalFrames, terminalColumns);
    Show show;
    setUpScene(show, options.dataFolder);
    if (needsSoundtrack() && !writeSoundtrack()) return false;
    return replayFrames(show, progress);
}
