#pragma once
// Running demo_capture as a child process from the programs' folder, scratch
// folders in RAM, and reading what the program wrote.
#include <cstdint>
#include <string>
#include <vector>

struct CaptureRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A fresh folder (in /dev/shm when it exists) removed with all its content.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return dir; }
    std::string operator/(const std::string& name) const { return dir + "/" + name; }
    // Names of the entries, sorted.
    std::vector<std::string> entries() const;

private:
    std::string dir;
};

// Copies the data files of the current folder into scratch.
void copyDataFiles(const ScratchDir& scratch);

// Runs demo_capture of the current folder with args, from workDir (empty:
// the current folder) and with an optional environment prefix ("PATH=/x"),
// catching its standard output and error in scratch. shellPrefix is a shell
// command run before it in the same shell ("ulimit -f 100").
CaptureRun runCapture(const ScratchDir& scratch, const std::string& args,
                      const std::string& environment = "", const std::string& workDir = "",
                      const std::string& shellPrefix = "");

// demo_capture started in the background, for stopping it by a signal;
// killed by the destructor if it still runs.
class BackgroundCapture {
public:
    BackgroundCapture(const ScratchDir& scratch, const std::string& args,
                      const std::string& environment = "");
    ~BackgroundCapture();
    BackgroundCapture(const BackgroundCapture&) = delete;
    BackgroundCapture& operator=(const BackgroundCapture&) = delete;

    void signal(int number) const;
    // The exit code (128 + the signal when one ended it), or -1 while it
    // still runs after timeoutMs.
    int waitForExit(int timeoutMs);

private:
    int pid = -1;
};

// Waits until a file whose name contains part is in dir.
bool waitForFile(const std::string& dir, const std::string& part, int timeoutMs);

// Writes text into a file made executable: a stand-in for a program.
void writeScript(const std::string& path, const std::string& text);

std::vector<uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);

// Frame file name as the program writes it.
std::string frameFileName(int32_t frame, bool raw);

// Little-endian 32-bit pixel words from the bytes of a .raw frame file.
std::vector<uint32_t> rawPixels(const std::vector<uint8_t>& bytes);

// Whether a program can be found on PATH.
bool programAvailable(const char* name);
