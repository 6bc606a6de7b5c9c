#include "video_pipe.h"

#include <bit>
#include <vector>

namespace {

// The pixel words as bytes in memory: blue, green, red, top byte, on a
// little-endian machine, so the frame goes to the pipe without conversion.
constexpr const char* kPipePixelFormat =
    std::endian::native == std::endian::little ? "bgr0" : "0rgb";

std::vector<std::string> ffmpegArguments(const VideoSettings& s) {
    std::vector<std::string> args = {
        "ffmpeg", "-hide_banner", "-loglevel", "error", "-nostats", "-y",
        "-f", "rawvideo", "-pixel_format", kPipePixelFormat,
        "-video_size", "640x480", "-framerate", std::to_string(s.fps), "-i", "pipe:0",
        "-i", s.soundtrackFile, "-map", "0:v", "-map", "1:a"};
    if (s.width != kScreenWidth || s.height != kScreenHeight) {
        args.insert(args.end(), {"-vf", "scale=" + std::to_string(s.width) + ":" +
                                            std::to_string(s.height) + ":flags=neighbor"});
    }
    // veryfast: half the encoding time of the default preset at about the
    // same size, so the encoder keeps up better with the renderer.
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                             "-r", std::to_string(s.fps),
                             "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart",
                             "-f", "mp4", s.outputFile});
    return args;
}

}  // namespace

bool isOnPath(const char* program) { return !findOnPath(program).empty(); }

bool VideoPipe::start(const VideoSettings& settings) {
    const std::string program = findOnPath("ffmpeg");
    std::string error = "not found on PATH";
    if (program.empty() || !encoder.start(program, ffmpegArguments(settings), error)) {
        message = "cannot start ffmpeg: " + error;
        return false;
    }
    return true;
}

bool VideoPipe::write(const Image& frame) {
    const size_t size = size_t{4} * static_cast<size_t>(frame.getWidth()) * static_cast<size_t>(frame.getHeight());
    std::string error;
    if (encoder.write(frame.getPixels(), size, error)) return true;
    message = "ffmpeg stopped taking frames: " + error;
    return false;
}

bool VideoPipe::finish() {
    if (!encoder.running()) return false;
    const ChildPipe::Ending ending = encoder.wait();
    if (ending.exited && ending.code == 0) return true;
    if (message.empty()) {
        if (ending.exited) {
            message = "ffmpeg failed with exit code " + std::to_string(ending.code);
        } else if (ending.code > 0) {
            message = "ffmpeg was ended by signal " + std::to_string(ending.code);
        } else {
            message = "ffmpeg could not be waited for";
        }
    }
    return false;
}
