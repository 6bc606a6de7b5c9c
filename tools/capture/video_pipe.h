#pragma once
// The video encoder: the ffmpeg program, fed the frames through a pipe,
// muxing them with the soundtrack file into an H.264 MP4 (YUV by the BT.709
// matrix, tagged so; 4:2:0 fitted here by ChromaFit) or a lossless FFV1
// Matroska file.
#include <cstdint>
#include <memory>
#include <string>

#include "child_pipe.h"
#include "chroma_fit.h"
#include "raster/image.h"
#include "video_quality.h"

// Whether an executable of that name is in one of the PATH folders.
bool isOnPath(const char* program);

struct VideoSettings {
    std::string outputFile;  // where ffmpeg writes
    std::string shownName;   // the name ffmpeg's messages give the output (outputFile when empty)
    std::string soundtrackFile;
    int32_t fps = 60;
    int32_t width = kScreenWidth;  // scaled to this size, nearest neighbour
    int32_t height = kScreenHeight;
    VideoQuality quality;
};

class VideoPipe {
public:
    VideoPipe() = default;
    ~VideoPipe();
    VideoPipe(const VideoPipe&) = delete;
    VideoPipe& operator=(const VideoPipe&) = delete;

    // Starts ffmpeg reading raw frames from a pipe.
    bool start(const VideoSettings& settings);
    // Hands one 640x480 frame to the encoder. When ffmpeg stopped early its
    // own error becomes the message.
    bool write(const Image& frame);
    // Ends the input and waits for ffmpeg; false unless it finished cleanly.
    bool finish();

    const std::string& error() const { return message; }

private:
    bool waitForEncoder();
    std::string encoderErrors() const;

    ChildPipe encoder;                  // ffmpeg, its standard error kept in a temporary file
    std::unique_ptr<ChromaFit> chroma;  // for 4:2:0: the planes each frame becomes
    std::string outputFile;
    std::string shownName;
    std::string message;
};
