#include "soundtrack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <libopenmpt/libopenmpt.h>

#include "driver/timeline.h"

namespace {

constexpr size_t kBlockFrames = 4096;
constexpr int32_t kFullVolume = 255;

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
    block.resize(kBlockFrames * kWavChannels);
    return true;
}

bool Soundtrack::renderSpan(int64_t frames, int32_t volume, WavFile& wav) {
    while (frames > 0) {
        const size_t count = frames < int64_t{kBlockFrames} ? static_cast<size_t>(frames) : kBlockFrames;
        const size_t got = openmpt_module_read_interleaved_stereo(module, kWavSampleRate, count, block.data());
        // A song that ends (it should not, it loops) leaves silence behind.
        std::memset(block.data() + got * kWavChannels, 0, (count - got) * kWavChannels * sizeof(int16_t));
        if (volume != kFullVolume) {
            for (size_t i = 0; i < count * kWavChannels; ++i) block[i] = applyVolume(block[i], volume);
        }
        if (!wav.append(block.data(), count)) {
            message = wav.error();
            return false;
        }
        frames -= static_cast<int64_t>(count);
    }
    return true;
}

bool Soundtrack::render(const FrameSchedule& schedule, WavFile& wav) {
    const int64_t total = soundtrackFrames(schedule);
    int64_t position = 0;
    int32_t volume = kFullVolume;
    for (int32_t frame = schedule.showFrames; frame < schedule.totalFrames; ++frame) {
        const int32_t reading = frameReading(frame, schedule.fps);
        const int64_t change = soundFrameAt(reading) < total ? soundFrameAt(reading) : total;
        if (!renderSpan(change - position, volume, wav)) return false;
        position = change;
        volume = fadeVolume(reading);
    }
    return renderSpan(total - position, volume, wav);
}
