#include "soundtrack.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <libopenmpt/libopenmpt.h>

#include "scene/timeline.h"
#include "sound/xm_extent.h"

namespace {

constexpr size_t kBlockFrames = 4096;

bool readWholeFile(const char* path, std::vector<unsigned char>& data) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    unsigned char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.insert(data.end(), chunk, chunk + n);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

void reportShortModule(const char* path, const std::vector<unsigned char>& data) {
    char line[512];
    describeShortModule(path, measureXmExtent(data.data(), data.size()), data.size(), line, sizeof line);
    if (line[0] != '\0') std::fprintf(stderr, "demo_capture: %s\n", line);
}

bool anySound(const std::vector<int16_t>& samples) {
    return std::any_of(samples.begin(), samples.end(), [](int16_t s) { return s != 0; });
}

}  // namespace

int64_t soundtrackFrames(const FrameSchedule& schedule) {
    return soundFrameAt(captureLengthMs(schedule));
}

Soundtrack::~Soundtrack() {
    if (module != nullptr) openmpt_module_destroy(module);
}

bool Soundtrack::load(const char* path) {
    std::vector<unsigned char> data;
    if (!readWholeFile(path, data)) {
        message = std::string("cannot read the music '") + path + "': " + std::strerror(errno);
        return false;
    }
    reportShortModule(path, data);
    int errorCode = 0;
    const char* errorText = nullptr;
    module = openmpt_module_create_from_memory2(data.data(), data.size(), openmpt_log_func_silent, nullptr,
                                                nullptr, nullptr, &errorCode, &errorText, nullptr);
    if (module == nullptr) {
        message = std::string("cannot open the music '") + path + "': " +
                  (errorText != nullptr ? errorText : "unknown format");
        openmpt_free_string(errorText);
        return false;
    }
    openmpt_free_string(errorText);
    // The demo's sound library loops the song; so does the capture.
    openmpt_module_set_repeat_count(module, -1);
    // libopenmpt dithers its 16-bit output with random noise by default;
    // without it two captures give the same bytes.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    block.resize(kBlockFrames * kWavChannels);
    return true;
}

// Where the volume of the music changes: at the reading of each fade frame.
class VolumeTrack {
public:
    explicit VolumeTrack(const FrameSchedule& schedule)
        : schedule(schedule), nextFade(schedule.showFrames) {
        findNextChange();
    }

    // The volume in effect at stereo frame position (positions ascending).
    int32_t volumeAt(int64_t position) {
        while (position >= nextChange) {
            volume = fadeVolume(frameReading(nextFade, schedule.fps));
            ++nextFade;
            findNextChange();
        }
        return volume;
    }

private:
    void findNextChange() {
        nextChange = nextFade < schedule.totalFrames
                         ? soundFrameAt(frameReading(nextFade, schedule.fps))
                         : INT64_MAX;
    }

    const FrameSchedule& schedule;
    int32_t nextFade;
    int64_t nextChange = 0;
    int32_t volume = kFullVolume;
};

// The module is read in blocks of one fixed size whatever the frame rate,
// since libopenmpt's output can differ in the last bit with the block sizes.
bool Soundtrack::render(const FrameSchedule& schedule, WavFile& wav) {
    const int64_t total = soundtrackFrames(schedule);
    VolumeTrack volumes(schedule);
    heardSound = false;
    for (int64_t position = 0; position < total;) {
        const size_t count = static_cast<size_t>(std::min<int64_t>(kBlockFrames, total - position));
        const size_t got = openmpt_module_read_interleaved_stereo(module, kWavSampleRate, count, block.data());
        // A song that ends (it should not, it loops) leaves silence behind.
        std::fill(block.begin() + static_cast<ptrdiff_t>(got * kWavChannels), block.end(), int16_t{0});
        if (!heardSound) heardSound = anySound(block);
        for (size_t i = 0; i < count; ++i) {
            const int32_t volume = volumes.volumeAt(position + static_cast<int64_t>(i));
            if (volume == kFullVolume) continue;
            for (int32_t c = 0; c < kWavChannels; ++c) {
                block[i * kWavChannels + c] = applyVolume(block[i * kWavChannels + c], volume);
            }
        }
        if (!wav.append(block.data(), count)) {
            message = wav.error();
            return false;
        }
        position += static_cast<int64_t>(count);
    }
    return true;
}
