#include "video_pipe.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "stop_signals.h"

namespace {

// The pixel words as bytes in memory: blue, green, red, top byte, on a
// little-endian machine, so the frame goes to the pipe without conversion.
constexpr const char* kPipePixelFormat = std::endian::native == std::endian::little ? "bgr0" : "0rgb";

// ffmpeg reads a name with a colon as a protocol and one with a leading dash
// as an option; the file: form is always a plain file.
std::string plainFileName(const std::string& path) { return "file:" + path; }

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The text ffmpeg wrote, its lines joined into one.
std::string oneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return replaceAll(replaceAll(text, "\r", ""), "\n", "; ");
}

// 4:2:0 frames are scaled and converted here (ChromaFit) and reach ffmpeg
// as YUV planes; the others reach it as the composed RGB words.
bool fitsChromaHere(const VideoQuality& quality) { return !quality.lossless && !quality.fullChroma; }

// How ffmpeg takes the RGB words: scaled by nearest neighbour to the chosen
// size, then for H.264 4:4:4 converted to YUV by the BT.709 matrix in
// limited range, the colours the stream's tags promise; the lossless master
// keeps the RGB words.
std::string videoFilters(const VideoSettings& s) {
    std::string filters;
    if (fitsChromaHere(s.quality)) return filters;
    if (s.width != kScreenWidth || s.height != kScreenHeight) {
        filters = "scale=" + std::to_string(s.width) + ":" + std::to_string(s.height) + ":flags=neighbor";
    }
    if (!s.quality.lossless) {
        if (!filters.empty()) filters += ",";
        filters += "scale=out_color_matrix=bt709:out_range=tv,format=yuv444p";
    }
    return filters;
}

// H.264 at the chosen quality with BT.709 tags and AAC sound in MP4. The
// colour samples of 4:2:0 are tagged as sited where ChromaFit placed them.
std::vector<std::string> h264Arguments(const VideoQuality& quality) {
    std::vector<std::string> args = {"-c:v",         "libx264",    "-preset",
                                     quality.preset, "-crf",       std::to_string(quality.crf),
                                     "-colorspace",  "bt709",      "-color_primaries",
                                     "bt709",        "-color_trc", "bt709",
                                     "-color_range", "tv",         "-c:a",
                                     "aac",          "-b:a",       "192k",
                                     "-movflags",    "+faststart", "-f",
                                     "mp4"};
    if (fitsChromaHere(quality)) args.insert(args.begin() + 2, {"-chroma_sample_location", "center"});
    return args;
}

// What goes through the pipe: the frame's words, or the fitted YUV planes
// at the video's size.
std::vector<std::string> pipeInput(const VideoSettings& s) {
    if (fitsChromaHere(s.quality)) {
        return {"-pixel_format", "yuv420p", "-video_size",
                std::to_string(s.width) + "x" + std::to_string(s.height)};
    }
    return {"-pixel_format", kPipePixelFormat, "-video_size", "640x480"};
}

// FFV1 of the RGB words, every frame a key frame with checksummed slices,
// and FLAC sound in Matroska: decodes to the very frames and samples.
std::vector<std::string> losslessArguments() {
    return {"-c:v", "ffv1",      "-level", "3",    "-g",   "1",  "-slices",
            "4",    "-slicecrc", "1",      "-c:a", "flac", "-f", "matroska"};
}

std::vector<std::string> ffmpegArguments(const VideoSettings& s) {
    std::vector<std::string> args = {"ffmpeg",   "-hide_banner", "-loglevel", "error",
                                     "-nostats", "-y",           "-f",        "rawvideo"};
    const std::vector<std::string> input = pipeInput(s);
    args.insert(args.end(), input.begin(), input.end());
    args.insert(args.end(), {"-framerate", std::to_string(s.fps), "-i", "pipe:0", "-i",
                             plainFileName(s.soundtrackFile), "-map", "0:v", "-map", "1:a"});
    const std::string filters = videoFilters(s);
    if (!filters.empty()) args.insert(args.end(), {"-vf", filters});
    args.insert(args.end(), {"-r", std::to_string(s.fps)});
    const std::vector<std::string> codec =
        s.quality.lossless ? losslessArguments() : h264Arguments(s.quality);
    args.insert(args.end(), codec.begin(), codec.end());
    args.push_back(plainFileName(s.outputFile));
    return args;
}

}  // namespace

bool isOnPath(const char* program) { return !findOnPath(program).empty(); }

VideoPipe::~VideoPipe() {
    if (encoder.running()) encoder.wait();
    forgetEncoder();
}

bool VideoPipe::start(const VideoSettings& settings) {
    outputFile = settings.outputFile;
    shownName = settings.shownName.empty() ? settings.outputFile : settings.shownName;
    const std::string program = findOnPath("ffmpeg");
    std::string error = std::strerror(ENOENT);
    if (program.empty() || !encoder.start(program, ffmpegArguments(settings), error, true)) {
        message = "cannot start ffmpeg: " + error;
        return false;
    }
    registerEncoder(encoder.processId());
    if (fitsChromaHere(settings.quality))
        chroma = std::make_unique<ChromaFit>(settings.width, settings.height);
    return true;
}

// What ffmpeg wrote on its standard error, its name for the output replaced
// by the output's own name.
std::string VideoPipe::encoderErrors() const {
    const std::string text = encoder.errors();
    return replaceAll(replaceAll(text, plainFileName(outputFile), shownName), outputFile, shownName);
}

// Reaps ffmpeg; true when it ended with exit code 0. Otherwise the message
// is ffmpeg's own error, or how it ended when it said nothing.
bool VideoPipe::waitForEncoder() {
    const ChildPipe::Ending ending = encoder.wait();
    forgetEncoder();
    const std::string said = encoderErrors();
    if (ending.exited && ending.code == 0) {
        std::fputs(said.c_str(), stderr);  // warnings, as ffmpeg would show them
        return true;
    }
    if (!said.empty()) {
        message = "ffmpeg failed: " + oneLine(said);
    } else if (ending.exited) {
        message = "ffmpeg failed with exit code " + std::to_string(ending.code);
    } else if (ending.code > 0) {
        message = "ffmpeg was ended by signal " + std::to_string(ending.code);
    } else {
        message = "ffmpeg could not be waited for";
    }
    return false;
}

bool VideoPipe::write(const Image& frame) {
    const void* data = frame.getPixels();
    size_t size = size_t{4} * static_cast<size_t>(frame.getWidth()) * static_cast<size_t>(frame.getHeight());
    if (chroma) {
        chroma->convert(frame);
        data = chroma->planes().data();
        size = chroma->planes().size();
    }
    std::string reason;
    if (encoder.write(data, size, reason)) return true;
    encoder.closeInput();
    if (encoder.running() && !waitForEncoder()) return false;
    message = "ffmpeg stopped taking frames: " + reason;
    return false;
}

bool VideoPipe::finish() {
    if (!encoder.running()) return false;
    return waitForEncoder();
}
