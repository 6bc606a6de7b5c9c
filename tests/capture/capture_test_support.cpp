#include "capture_test_support.h"

#include "scene/data_files.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <csignal>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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

void copyDataFiles(const ScratchDir& scratch) {
    for (const ImageFile& image : kImageFiles) std::filesystem::copy_file(image.name, scratch / image.name);
    std::filesystem::copy_file(kSongFileName, scratch / kSongFileName);
}

CaptureRun runCapture(const ScratchDir& scratch, const std::string& args,
                      const std::string& environment, const std::string& workDir,
                      const std::string& shellPrefix) {
    const std::string outFile = scratch / "stdout.txt";
    const std::string errFile = scratch / "stderr.txt";
    const std::string program = std::filesystem::current_path().string() + "/demo_capture";
    const std::string command = (workDir.empty() ? "" : "cd " + workDir + " && ") +
                                (shellPrefix.empty() ? "" : shellPrefix + "; ") +
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

BackgroundCapture::BackgroundCapture(const ScratchDir& scratch, const std::string& args,
                                     const std::string& environment) {
    const std::string program = std::filesystem::current_path().string() + "/demo_capture";
    const std::string command = "exec " + (environment.empty() ? "" : "env " + environment + " ") + program +
                                " " + args + " >" + (scratch / "stdout.txt") + " 2>" +
                                (scratch / "stderr.txt") + " </dev/null";
    pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

BackgroundCapture::~BackgroundCapture() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void BackgroundCapture::signal(int number) const {
    if (pid > 0) kill(pid, number);
}

int BackgroundCapture::waitForExit(int timeoutMs) {
    for (int waited = 0; pid > 0; waited += 10) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (waited >= timeoutMs) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
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
    chmod(path.c_str(), 0755);
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
