// A stand-in for the encoder in the tests: records what it was given.
// Reads its standard input to the end, then writes into the folder named by
// PIPE_RECORDER_DIR:
//   args.txt     every argument after the program name, as "LENGTH TEXT\n"
//   stdin.bin    the whole input; or, when PIPE_RECORDER_FRAME=SIZE is set,
//   frame_NNNNN.raw  the input cut into frames of SIZE bytes, those listed in
//                PIPE_RECORDER_KEEP (K1,K2,...), and frames.txt with the count
//   input_N      a copy of the file after the N-th "-i" that is not "pipe:0"
// Last it writes a short file under the name of its last argument, the
// encoder's output file ("file:" taken off), and exits with PIPE_RECORDER_EXIT (default 0).
// PIPE_RECORDER_READ=0 makes it exit with that code without reading.
// PIPE_RECORDER_SAY=TEXT is written on its standard error first.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "capture_platform.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool writeFile(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    // An empty write hands fwrite no buffer at all, which it must not get.
    const bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (in == nullptr) return false;
    std::vector<char> bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(in);
    return writeFile(to, bytes.data(), bytes.size());
}

std::set<long> frameList(const std::string& text) {
    std::set<long> frames;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        frames.insert(std::strtol(text.substr(start, end - start).c_str(), nullptr, 10));
        start = end + 1;
    }
    return frames;
}

// The encoder's file names come in ffmpeg's "file:NAME" form.
std::string plainName(const std::string& name) { return name.rfind("file:", 0) == 0 ? name.substr(5) : name; }

}  // namespace

int main(int argc, char** argv) {
    setUpCaptureProcess();  // binary standard streams
    const std::string dir = environment("PIPE_RECORDER_DIR");
    const int exitCode = std::atoi(environment("PIPE_RECORDER_EXIT").c_str());
    if (dir.empty()) return 100;
    std::fputs(environment("PIPE_RECORDER_SAY").c_str(), stderr);
    if (environment("PIPE_RECORDER_READ") == "0") return exitCode;

    std::string args;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        args += std::to_string(arg.size()) + " " + arg + "\n";
        if (arg == "-i" && i + 1 < argc && std::string(argv[i + 1]) != "pipe:0") {
            if (!copyFile(plainName(argv[i + 1]), dir + "/input_" + std::to_string(++inputs))) return 101;
        }
    }
    if (!writeFile(dir + "/args.txt", args.data(), args.size())) return 102;

    const size_t frameSize = std::strtoul(environment("PIPE_RECORDER_FRAME").c_str(), nullptr, 10);
    const std::set<long> keep = frameList(environment("PIPE_RECORDER_KEEP"));
    std::vector<char> pending;
    long frames = 0;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        pending.insert(pending.end(), buffer, buffer + n);
        while (frameSize > 0 && pending.size() >= frameSize) {
            if (keep.count(frames) != 0) {
                char name[64];
                std::snprintf(name, sizeof name, "/frame_%05ld.raw", frames);
                if (!writeFile(dir + name, pending.data(), frameSize)) return 103;
            }
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(frameSize));
            ++frames;
        }
    }
    if (frameSize == 0) {
        if (!writeFile(dir + "/stdin.bin", pending.data(), pending.size())) return 104;
    } else {
        const std::string count =
            std::to_string(frames) + " frames, " + std::to_string(pending.size()) + " bytes over\n";
        if (!writeFile(dir + "/frames.txt", count.data(), count.size())) return 105;
    }
    if (argc > 1) {
        const std::string note = "recorded\n";
        if (!writeFile(plainName(argv[argc - 1]), note.data(), note.size())) return 106;
    }
    return exitCode;
}
