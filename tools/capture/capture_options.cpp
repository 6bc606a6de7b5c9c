#include "capture_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "capture_platform.h"
#include "scene/frame_clock.h"
#include "scene/frame_list.h"

std::string captureUsage(const std::string& name) {
    const std::string indent(8 + name.size(), ' ');
    return "usage: " + name + " [--fps N] [--frames DIR [--raw] [--only K1,K2,...]] [--wav FILE]\n" + indent +
           "[--video FILE [--size WxH] [--crf N] [--preset NAME] [--chroma 444]\n" + indent +
           "              [--lossless]]\n" + kCaptureOptionsText;
}

const char kCaptureOptionsText[] =
    "Renders the demo offline, frame by frame, from the data files in the working folder\n"
    "(when it holds none of them: beside the program, else in the installed data folder).\n"
    "  --fps N        frames per second, 1 to 1000 (default 60)\n"
    "  --frames DIR   write every frame as DIR/frame_NNNNN.ppm (binary P6, 640x480)\n"
    "  --raw          with --frames: DIR/frame_NNNNN.raw, the 32-bit little-endian pixels\n"
    "  --only K,...   with --frames: write only these frame indices\n"
    "  --wav FILE     the soundtrack, 44.1 kHz 16-bit stereo\n"
    "  --video FILE   an H.264 MP4 video with the soundtrack, encoded by ffmpeg (BT.709)\n"
    "  --size WxH     with --video: scale the video, nearest neighbour, even sides up to\n"
    "                 4096 (default 640x480; 1280x960 keeps the pixels crisp)\n"
    "  --crf N        with --video: x264's quality, 0 (best) to 51 (default 12)\n"
    "  --preset NAME  with --video: x264's speed, ultrafast to placebo (default medium)\n"
    "  --chroma 444   with --video: a colour sample for every pixel (default 420, which\n"
    "                 plays everywhere; 444 keeps thin coloured lines, fewer players)\n"
    "  --lossless     with --video: a master decoding to the very frames, FFV1 and FLAC\n"
    "                 in Matroska (FILE.mkv)\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "At least one of --frames, --wav and --video is needed.\n";

namespace {

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
    bool crfSeen = false, presetSeen = false, chromaSeen = false, losslessSeen = false;
};

bool markSeen(bool& seen, const char* name, std::string& error) {
    if (seen) {
        error = std::string(name) + " given twice";
        return false;
    }
    seen = true;
    return true;
}

// Handles one of the options that shape the video.
bool parseVideoOption(const std::string& name, const std::string& value, ParseState& seen,
                      CaptureOptions& options, std::string& error) {
    VideoQuality& quality = options.videoQuality;
    if (name == "--size") {
        if (!markSeen(seen.sizeSeen, "--size", error)) return false;
        if (parseSize(value, options.videoWidth, options.videoHeight) &&
            isValidVideoSide(options.videoWidth) && isValidVideoSide(options.videoHeight)) {
            return true;
        }
        error = "--size must be WxH with even sides from 2 to " + std::to_string(kMaxVideoSide) + ", not '" +
                value + "'";
    } else if (name == "--crf") {
        if (!markSeen(seen.crfSeen, "--crf", error)) return false;
        if (parseWholeNumber(value, quality.crf) && quality.crf >= 0 && quality.crf <= kMaxVideoCrf)
            return true;
        error = "--crf must be a whole number from 0 to " + std::to_string(kMaxVideoCrf) + ", not '" + value +
                "'";
    } else if (name == "--preset") {
        if (!markSeen(seen.presetSeen, "--preset", error)) return false;
        quality.preset = value;
        if (isVideoPreset(value)) return true;
        error =
            "--preset must be one of ultrafast, superfast, veryfast, faster, fast, medium, slow, slower, "
            "veryslow, placebo, not '" +
            value + "'";
    } else {  // --chroma
        if (!markSeen(seen.chromaSeen, "--chroma", error)) return false;
        quality.fullChroma = value == "444";
        if (value == "420" || value == "444") return true;
        error = "--chroma must be 420 or 444, not '" + value + "'";
    }
    return false;
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
    return parseVideoOption(name, value, seen, options, error);
}

bool takesValue(const std::string& name) {
    return name == "--fps" || name == "--frames" || name == "--only" || name == "--wav" ||
           name == "--video" || name == "--size" || name == "--crf" || name == "--preset" ||
           name == "--chroma";
}

bool endsWithMatroskaName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".mkv";
}

// The video's options need --video; the lossless master takes no quality
// setting and is a Matroska file, named so.
bool checkVideoCombinations(const ParseState& seen, const CaptureOptions& options, std::string& error) {
    using GivenOption = std::pair<bool, const char*>;
    for (const auto& [given, name] :
         {GivenOption{seen.sizeSeen, "--size"}, GivenOption{seen.crfSeen, "--crf"},
          GivenOption{seen.presetSeen, "--preset"}, GivenOption{seen.chromaSeen, "--chroma"},
          GivenOption{seen.losslessSeen, "--lossless"}}) {
        if (given && !seen.videoSeen) {
            error = std::string(name) + " needs --video";
            return false;
        }
    }
    if (!seen.losslessSeen) return true;
    for (const auto& [given, name] :
         {GivenOption{seen.crfSeen, "--crf"}, GivenOption{seen.presetSeen, "--preset"},
          GivenOption{seen.chromaSeen, "--chroma"}}) {
        if (given) {
            error = std::string(name) + " does not apply to --lossless";
            return false;
        }
    }
    if (!endsWithMatroskaName(options.videoFile)) {
        error =
            "--lossless writes a Matroska video: its name must end in .mkv, not '" + options.videoFile + "'";
        return false;
    }
    return true;
}

// The options that only make sense together with another one, and the
// frame indices, which need the final frame rate.
bool checkCombinations(const ParseState& seen, const CaptureOptions& options, std::string& error) {
    if (seen.rawSeen && !seen.framesSeen)
        error = "--raw needs --frames";
    else if (seen.onlySeen && !seen.framesSeen)
        error = "--only needs --frames";
    else if (!seen.framesSeen && !seen.wavSeen && !seen.videoSeen)
        error = "nothing to write: give --frames, --wav or --video";
    if (!error.empty() || !checkVideoCombinations(seen, options, error)) return false;
    if (options.onlyFrames.empty()) return true;
    const std::string outside = frameOutsideTimeline(options.onlyFrames.back(), options.fps);
    if (!outside.empty()) error = "--only: " + outside;
    return outside.empty();
}

}  // namespace

bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error) {
    ParseState seen;
    error.clear();
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.showHelp = true;
        } else if (name == "--version") {
            options.showVersion = true;
        } else if (name == "--raw") {
            if (!markSeen(seen.rawSeen, "--raw", error)) return false;
            options.rawFrames = true;
        } else if (name == "--lossless") {
            if (!markSeen(seen.losslessSeen, "--lossless", error)) return false;
            options.videoQuality.lossless = true;
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
    return options.showHelp || options.showVersion || checkCombinations(seen, options, error);
}
