#include "soundtrack.h"

#include <algorithm>

#include "program_name.h"
#include "sound/module_loader.h"

namespace {

constexpr size_t kBlockFrames = ModuleRenderer::kBlockFrames;

}  // namespace

int64_t soundtrackFrames(const FrameSchedule& schedule) { return sampleFrameAt(captureLengthMs(schedule)); }

bool Soundtrack::load(const char* path) {
    ModuleLoadFailure failure;
    const std::string notePrefix = std::string(programName()) + ": ";
    if (!loadModuleFile(path, renderer, notePrefix.c_str(), failure)) {
        const char* step = failure.file != ModuleFileError::None ? "read" : "open";
        message = std::string("cannot ") + step + " the music '" + path + "': " + failure.reason;
        return false;
    }
    block.resize(kBlockFrames * kChannels);
    return true;
}

bool Soundtrack::renderUntil(int64_t endFrame, int32_t volume, WavFile& wav) {
    while (renderer.position() < endFrame) {
        const size_t count =
            static_cast<size_t>(std::min<int64_t>(kBlockFrames, endFrame - renderer.position()));
        renderer.render(block.data(), count, volume);
        if (!wav.append(block.data(), count)) {
            message = wav.error();
            return false;
        }
    }
    return true;
}

// The timeline stepped by the capture's frame clock: each frame's volume
// holds from the sample of its reading until the next frame's.
bool Soundtrack::render(const FrameSchedule& schedule, WavFile& wav) {
    renderer.rewind();
    ClockedTimeline timeline(schedule.fps);
    ClockedTimeline::Frame frame;
    int32_t volume = kFullVolume;
    while (timeline.next(frame)) {
        if (!renderUntil(sampleFrameAt(frame.reading), volume, wav)) return false;
        if (frame.step.phase == TimelinePhase::Fade) volume = frame.step.volume;
    }
    return true;
}
