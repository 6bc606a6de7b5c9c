#include "video_quality.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 10> kPresets = {"ultrafast", "superfast", "veryfast", "faster",
                                                       "fast",      "medium",    "slow",     "slower",
                                                       "veryslow",  "placebo"};

}  // namespace

bool isVideoPreset(const std::string& name) {
    for (std::string_view preset : kPresets) {
        if (name == preset) return true;
    }
    return false;
}

std::string describeVideo(const VideoQuality& quality, int32_t width, int32_t height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (quality.lossless) return "FFV1 " + size + " RGB lossless, FLAC";
    return "H.264 " + size + (quality.fullChroma ? " 4:4:4" : " 4:2:0") + " BT.709, crf " +
           std::to_string(quality.crf) + ", preset " + quality.preset + ", AAC";
}
