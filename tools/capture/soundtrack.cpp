#include "soundtrack.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "program_name.h"
#include "sound/module_file.h"
#include "sound/xm_extent.h"

namespace {

constexpr size_t kBlockFrames = 4096;

void reportShortModule(const char* path, const ModuleBytes& bytes) {
    char line[512];
    describeShortModule(path, measureXmExtent(bytes.data(), bytes.size()), bytes.size(), line, sizeof line);
    if (line[0] != '\0') std::fprintf(stderr, "%s: %s\n", programName(), line);
}

std::string readFailure(const ModuleBytes& bytes) {
    const ModuleFileError error = bytes.error();
    if (error == ModuleFileError::CannotOpen || error == ModuleFileError::ReadFailed)
        return std::strerror(errno);
    return describeModuleFileError(error);
}

}  // namespace

int64_t soundtrackFrames(const FrameSchedule& schedule) { return sampleFrameAt(captureLengthMs(schedule)); }

bool Soundtrack::load(const char* path) {
    ModuleBytes bytes;
    if (!bytes.read(path)) {
        message = std::string("cannot read the music '") + path + "': " + readFailure(bytes);
        return false;
    }
    reportShortModule(path, bytes);
    if (!renderer.load(bytes.data(), bytes.size())) {
        message = std::string("cannot open the music '") + path + "': " + renderer.errorText();
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
