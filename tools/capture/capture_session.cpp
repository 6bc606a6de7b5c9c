#include "capture_session.h"

#include "capture_platform.h"
#include "image_check.h"
#include "output_paths.h"
#include "progress.h"
#include "scene/data_files.h"
#include "stop_signals.h"
#include "timeline_replay.h"

namespace {

// Hands each presented frame to the chosen outputs and the progress bar.
class CaptureSink : public FrameSink {
public:
    CaptureSink(FrameFiles* files, VideoPipe* video, Progress& progress)
        : files(files), video(video), progress(progress) {}

    bool present(int32_t frame, const Image& picture) override {
        if (files != nullptr && !files->write(frame, picture)) return fail(files->error());
        if (video != nullptr && !video->write(picture)) return fail(video->error());
        progress.frameDone(frame);
        return true;
    }

    const std::string& error() const { return message; }

private:
    bool fail(const std::string& reason) {
        message = reason;
        return false;
    }

    FrameFiles* files;
    VideoPipe* video;
    Progress& progress;
    std::string message;
};

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
    if (!options.videoFile.empty()) text += "; video " + options.videoFile;
    return text;
}

bool CaptureSession::replayFrames(TimelineReplay& replay, Progress& progress) {
    if (!options.videoFile.empty()) {
        video = std::make_unique<VideoPipe>();
        if (!videoFile.begin(options.videoFile, message)) return false;
        const VideoSettings settings{videoFile.path(), options.videoFile,  soundtrackFile.path(),
                                     options.fps,      options.videoWidth, options.videoHeight};
        if (!video->start(settings)) return fail(video->error());
    }
    CaptureSink sink(frameFiles.get(), video.get(), progress);
    progress.startFrames();
    const int32_t frames = replay.run(options.fps, sink);
    if (frames < 0) return fail(sink.error());
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
    TimelineReplay replay(options.dataFolder);  // start-up: loads the images, sets up the scene
    if (needsSoundtrack() && !writeSoundtrack()) return false;
    return replayFrames(replay, progress);
}
