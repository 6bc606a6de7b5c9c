#include "capture_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

ScratchDir::ScratchDir() {
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/capture_test_XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) dir = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name != "stdout.txt" && name != "stderr.txt") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

CaptureRun runCapture(const ScratchDir& scratch, const std::string& args,
                      const std::string& environment, const std::string& workDir) {
    const std::string outFile = scratch / "stdout.txt";
    const std::string errFile = scratch / "stderr.txt";
    const std::string program = std::filesystem::current_path().string() + "/demo_capture";
    const std::string command = (workDir.empty() ? "" : "cd " + workDir + " && ") +
                                (environment.empty() ? "" : "env " + environment + " ") +
                                program + " " + args + " >" + outFile + " 2>" + errFile +
                                " </dev/null";
    const int status = std::system(command.c_str());
    CaptureRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(outFile);
    run.err = readText(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return run;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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
    const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}
