#include "capture_test_support.h"

#include "scene/data_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

// Named by the test's process and a count, made only when new.
ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    for (int attempt = 0; attempt < 100 && dir.empty(); ++attempt) {
        const std::string name = std::string(base) + "/capture_test_" + std::to_string(currentProcessId()) +
                                 "_" + std::to_string(counter++);
        std::error_code error;
        if (std::filesystem::create_directory(name, error)) dir = name;
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void copyDataFiles(const ScratchDir& scratch) {
    for (const ImageFile& image : kImageFiles) std::filesystem::copy_file(image.name, scratch / image.name);
    std::filesystem::copy_file(kSongFileName, scratch / kSongFileName);
}

std::string captureProgramPath() { return std::filesystem::current_path().string() + "/demo_capture"; }

namespace {

std::vector<std::string> captureCommand(const std::string& args) {
    std::vector<std::string> argv = words(args);
    argv.insert(argv.begin(), captureProgramPath());
    return argv;
}

}  // namespace

ChildResult runCapture(const std::string& args, const Environment& environment, const std::string& workDir,
                       const std::string& shellPrefix, std::chrono::milliseconds limit) {
    std::vector<std::string> argv = captureCommand(args);
    if (!shellPrefix.empty())
        argv.insert(argv.begin(), {"/bin/sh", "-c", shellPrefix + "; exec \"$0\" \"$@\""});
    return runProgram(argv, limit, environment, workDir);
}

ChildResult runCaptureCopy(const std::string& args, const std::string& workDir) {
    const ScratchDir program;
    std::filesystem::copy_file(captureProgramPath(), program / "demo_capture");
    std::vector<std::string> argv = words(args);
    argv.insert(argv.begin(), program / "demo_capture");
    return runProgram(argv, std::chrono::minutes(20), {}, workDir);
}

StartedProgram startCapture(const std::string& args, const Environment& environment) {
    return StartedProgram(captureCommand(args), environment);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

bool waitForFile(const std::string& dir, const std::string& part, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
            if (entry.path().filename().string().find(part) != std::string::npos) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void writeScript(const std::string& path, const std::string& text) {
    { std::ofstream(path) << text; }
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_all | perms::group_read | perms::group_exec |
                                           perms::others_read | perms::others_exec);
}

std::string frameFileName(int32_t frame, bool raw) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.%s", frame, raw ? "raw" : "ppm");
    return name;
}

std::vector<uint32_t> rawPixels(const std::vector<uint8_t>& bytes) {
    std::vector<uint32_t> pixels(bytes.size() / 4);
    for (size_t k = 0; k < pixels.size(); ++k) {
        pixels[k] = uint32_t{bytes[4 * k]} | uint32_t{bytes[4 * k + 1]} << 8 |
                    uint32_t{bytes[4 * k + 2]} << 16 | uint32_t{bytes[4 * k + 3]} << 24;
    }
    return pixels;
}

bool programAvailable(const char* name) {
    return runProgram({"/bin/sh", "-c", std::string("command -v ") + name}, std::chrono::seconds(10))
               .exitCode == 0;
}
