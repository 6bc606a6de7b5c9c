#include "video_pipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "stop_signals.h"

extern char** environ;

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

[[maybe_unused]] std::vector<std::string> ffmpegArguments(const VideoSettings& s) {
    std::vector<std::string> args = {"ffmpeg",
                                     "-hide_banner",
                                     "-loglevel",
                                     "error",
                                     "-nostats",
                                     "-y",
                                     "-f",
                                     "rawvideo",
                                     "-pixel_format",
                                     kPipePixelFormat,
                                     "-video_size",
                                     "640x480",
                                     "-framerate",
                                     std::to_string(s.fps),
                                     "-i",
                                     "pipe:0",
                                     "-i",
                                     plainFileName(s.soundtrackFile),
                                     "-map",
                                     "0:v",
                                     "-map",
                                     "1:a"};
    if (s.width != kScreenWidth || s.height != kScreenHeight) {
        args.insert(args.end(), {"-vf", "scale=" + std::to_string(s.width) + ":" + std::to_string(s.height) +
                                            ":flags=neighbor"});
    }
    // veryfast: half the encoding time of the default preset at about the
    // same size, so the encoder keeps up better with the renderer.
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-r",
                             std::to_string(s.fps), "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart",
                             "-f", "mp4", plainFileName(s.outputFile)});
    return args;
}

}  // namespace

bool isOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    const std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

VideoPipe::~VideoPipe() {
    closeInput();
    if (child > 0) waitpid(child, nullptr, 0);
    forgetEncoder();
    if (errors != nullptr) std::fclose(errors);
}

void VideoPipe::closeInput() {
    if (input >= 0) ::close(input);
    input = -1;
}

bool VideoPipe::start(const VideoSettings& settings) {
    if (!kCanStartPrograms) {
        message = "this build cannot start ffmpeg";
        return false;
    }
#ifndef __EMSCRIPTEN__
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        message = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    outputFile = settings.outputFile;
    shownName = settings.shownName.empty() ? settings.outputFile : settings.shownName;
    errors = std::tmpfile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    if (errors != nullptr) posix_spawn_file_actions_adddup2(&actions, fileno(errors), STDERR_FILENO);
    std::vector<std::string> args = ffmpegArguments(settings);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int result = posix_spawnp(&child, "ffmpeg", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    input = fds[1];
    if (result != 0) {
        child = -1;
        closeInput();
        message = std::string("cannot start ffmpeg: ") + std::strerror(result);
        return false;
    }
    registerEncoder(child);
    return true;
#else
    (void)settings;
    return false;
#endif
}

// What ffmpeg wrote on its standard error, its name for the output replaced
// by the output's own name.
std::string VideoPipe::encoderErrors() const {
    if (errors == nullptr) return "";
    std::string text;
    std::rewind(errors);
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, errors)) > 0) text.append(chunk, n);
    return replaceAll(replaceAll(text, plainFileName(outputFile), shownName), outputFile, shownName);
}

// Reaps ffmpeg; true when it ended with exit code 0. Otherwise the message
// is ffmpeg's own error, or how it ended when it said nothing.
bool VideoPipe::waitForEncoder() {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    child = -1;
    forgetEncoder();
    const std::string said = encoderErrors();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        std::fputs(said.c_str(), stderr);  // warnings, as ffmpeg would show them
        return true;
    }
    if (!said.empty()) {
        message = "ffmpeg failed: " + oneLine(said);
    } else {
        message = WIFEXITED(status) ? "ffmpeg failed with exit code " + std::to_string(WEXITSTATUS(status))
                                    : "ffmpeg was ended by signal " + std::to_string(WTERMSIG(status));
    }
    return false;
}

bool VideoPipe::write(const Image& frame) {
    const char* data = reinterpret_cast<const char*>(frame.getPixels());
    size_t size = size_t{4} * static_cast<size_t>(frame.getWidth()) * static_cast<size_t>(frame.getHeight());
    while (size > 0) {
        const ssize_t n = ::write(input, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string reason = std::strerror(errno);
            closeInput();
            if (child > 0 && !waitForEncoder()) return false;
            message = "ffmpeg stopped taking frames: " + reason;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool VideoPipe::finish() {
    closeInput();
    if (child <= 0) return false;
    return waitForEncoder();
}
