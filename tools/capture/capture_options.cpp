#include "capture_options.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "capture_platform.h"
#include "scene/frame_clock.h"
#include "scene/frame_list.h"

std::string captureUsage(const std::string& name) {
    return "usage: " + name + " [--fps N] [--frames DIR [--raw] [--only K1,K2,...]] [--wav FILE]\n" +
           std::string(8 + name.size(), ' ') + "[--video FILE] [--size WxH]\n" + kCaptureOptionsText;
}

const char kCaptureOptionsText[] =
    "Renders the demo offline, frame by frame, from the data files in the working folder\n"
    "(when it holds none of them: beside the program, else in the installed data folder).\n"
    "  --fps N        frames per second, 1 to 1000 (default 60)\n"
    "  --frames DIR   write every frame as DIR/frame_NNNNN.ppm (binary P6, 640x480)\n"
    "  --raw          with --frames: DIR/frame_NNNNN.raw, the 32-bit little-endian pixels\n"
    "  --only K,...   with --frames: write only these frame indices\n"
    "  --wav FILE     the soundtrack, 44.1 kHz 16-bit stereo\n"
    "  --video FILE   an H.264 MP4 video with the soundtrack, encoded by ffmpeg\n"
    "  --size WxH     with --video: scale the video, nearest neighbour (default 640x480)\n"
    "  --help         show this text\n"
    "At least one of --frames, --wav and --video is needed.\n";

namespace {

constexpr int32_t kMaxVideoSide = 8192;

bool parseSize(const std::string& text, int32_t& width, int32_t& height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    return parseWholeNumber(std::string_view(text).substr(0, x), width) &&
           parseWholeNumber(std::string_view(text).substr(x + 1), height);
}

// H.264 in yuv420p halves the colour resolution, so both sides must be even.
bool isValidVideoSide(int32_t side) { return side >= 2 && side <= kMaxVideoSide && side % 2 == 0; }

// "out/" names the folder "out" also before it exists; the root ("/", "C:\\")
// keeps its separator.
std::string withoutTrailingSeparators(const std::string& dir) {
    size_t end = dir.size();
    while (end > 1 && std::strchr(kPathSeparators, dir[end - 1]) != nullptr && dir[end - 2] != ':') --end;
    return dir.substr(0, end);
}

struct ParseState {
    bool fpsSeen = false, framesSeen = false, rawSeen = false, onlySeen = false;
    bool wavSeen = false, videoSeen = false, sizeSeen = false;
};

bool markSeen(bool& seen, const char* name, std::string& error) {
    if (seen) {
        error = std::string(name) + " given twice";
        return false;
    }
    seen = true;
    return true;
}

// Handles one option that takes a value.
bool parseValueOption(const std::string& name, const std::string& value, ParseState& seen,
                      CaptureOptions& options, std::string& error) {
    if (name == "--fps") {
        if (!markSeen(seen.fpsSeen, "--fps", error)) return false;
        if (!parseWholeNumber(value, options.fps) || options.fps < kMinFrameRate ||
            options.fps > kMaxFrameRate) {
            error = "--fps must be a whole number from 1 to 1000, not '" + value + "'";
            return false;
        }
        return true;
    }
    if (name == "--frames") {
        if (!markSeen(seen.framesSeen, "--frames", error)) return false;
        options.framesDir = withoutTrailingSeparators(value);
        return true;
    }
    if (name == "--only") {
        if (!markSeen(seen.onlySeen, "--only", error)) return false;
        if (!parseFrameList(value, options.onlyFrames)) {
            error = "--only needs frame indices separated by commas, not '" + value + "'";
            return false;
        }
        return true;
    }
    if (name == "--wav") {
        if (!markSeen(seen.wavSeen, "--wav", error)) return false;
        options.wavFile = value;
        return true;
    }
    if (name == "--video") {
        if (!markSeen(seen.videoSeen, "--video", error)) return false;
        options.videoFile = value;
        return true;
    }
    // --size
    if (!markSeen(seen.sizeSeen, "--size", error)) return false;
    if (!parseSize(value, options.videoWidth, options.videoHeight) || !isValidVideoSide(options.videoWidth) ||
        !isValidVideoSide(options.videoHeight)) {
        error = "--size must be WxH with even sides from 2 to 8192, not '" + value + "'";
        return false;
    }
    return true;
}

bool takesValue(const std::string& name) {
    return name == "--fps" || name == "--frames" || name == "--only" || name == "--wav" ||
           name == "--video" || name == "--size";
}

// The options that only make sense together with another one, and the
// frame indices, which need the final frame rate.
bool checkCombinations(const ParseState& seen, const CaptureOptions& options, std::string& error) {
    if (seen.rawSeen && !seen.framesSeen)
        error = "--raw needs --frames";
    else if (seen.onlySeen && !seen.framesSeen)
        error = "--only needs --frames";
    else if (seen.sizeSeen && !seen.videoSeen)
        error = "--size needs --video";
    else if (!seen.framesSeen && !seen.wavSeen && !seen.videoSeen)
        error = "nothing to write: give --frames, --wav or --video";
    if (!error.empty()) return false;
    const FrameSchedule schedule = makeFrameSchedule(options.fps);
    if (!options.onlyFrames.empty() && options.onlyFrames.back() >= schedule.totalFrames) {
        error = "--only: frame " + std::to_string(options.onlyFrames.back()) +
                " is outside the timeline (frames 0 to " + std::to_string(schedule.totalFrames - 1) + " at " +
                std::to_string(options.fps) + " fps)";
        return false;
    }
    return true;
}

}  // namespace

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error) {
    ParseState seen;
    error.clear();
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.showHelp = true;
        } else if (name == "--raw") {
            if (!markSeen(seen.rawSeen, "--raw", error)) return false;
            options.rawFrames = true;
        } else if (takesValue(name)) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = name + " needs a value";
                return false;
            }
            if (!parseValueOption(name, argv[++i], seen, options, error)) return false;
        } else {
            error = "unknown argument '" + name + "'";
            return false;
        }
    }
    return options.showHelp || checkCombinations(seen, options, error);
}
