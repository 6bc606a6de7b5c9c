#pragma once
// How the video is encoded: H.264 in MP4 at a chosen quality, converted with
// the BT.709 matrix and tagged so; or a lossless master, FFV1 with the pixels
// as composed and the soundtrack as FLAC in Matroska.
#include <cstdint>
#include <string>

// The largest video side: 4096 fits H.264 level 5.2 and the decoders of
// common players and video sites.
constexpr int32_t kMaxVideoSide = 4096;
// The highest constant rate factor of 8-bit x264 (0 is lossless in YUV).
constexpr int32_t kMaxVideoCrf = 51;
// Chosen by measurement (tools/scripts/video-quality.sh, docs/capture.md):
// at 1280x960 and 50 fps, decoded as a player decodes, crf 12 keeps the
// frames at 50, 100 and 140 s at 38.8, 42.6 and 40.7 dB, where crf 14 came
// to 38.4 dB at 50 s, too near the 38 wanted; preset slow gave the same size
// and quality as medium in half as much time again.
constexpr int32_t kDefaultVideoCrf = 12;
constexpr const char kDefaultVideoPreset[] = "medium";

struct VideoQuality {
    bool lossless = false;
    int32_t crf = kDefaultVideoCrf;
    std::string preset = kDefaultVideoPreset;
    bool fullChroma = false;  // 4:4:4: a colour sample for every pixel
};

// Whether the name is one of x264's presets, ultrafast to placebo.
bool isVideoPreset(const std::string& name);

// What the encoder writes, for the progress and the summary line, e.g.
// "H.264 1280x960 4:2:0 BT.709, crf 18, preset slow, AAC".
std::string describeVideo(const VideoQuality& quality, int32_t width, int32_t height);
