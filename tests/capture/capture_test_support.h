#pragma once
// Running demo_capture as a child process from the programs' folder, scratch
// folders in RAM, and what the program wrote.
#include <cstdint>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/system.h"

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

// The full name of demo_capture in the current folder (the programs' folder).
std::string captureProgramPath();

// Runs demo_capture of the current folder with args (split at spaces),
// from workDir (empty: the current folder) with the environment changes.
// shellPrefix is a shell command run first in the same shell ("ulimit -f 100").
// A run longer than limit is killed.
ChildResult runCapture(const std::string& args, const Environment& environment = {},
                       const std::string& workDir = "", const std::string& shellPrefix = "",
                       std::chrono::milliseconds limit = std::chrono::minutes(20));

// Runs a copy of demo_capture placed in a folder of its own without data
// files, so that a workDir lacking some of them stays the data folder.
ChildResult runCaptureCopy(const std::string& args, const std::string& workDir);

// demo_capture started for stopping it by a signal.
StartedProgram startCapture(const std::string& args, const Environment& environment = {});

// The words of text between spaces.
std::vector<std::string> words(const std::string& text);

// Waits until a file whose name contains part is in dir.
bool waitForFile(const std::string& dir, const std::string& part, int timeoutMs);

// Writes text into a file made executable: a stand-in for a program.
void writeScript(const std::string& path, const std::string& text);

// Frame file name as the program writes it.
std::string frameFileName(int32_t frame, bool raw);

// Little-endian 32-bit pixel words from the bytes of a .raw frame file.
std::vector<uint32_t> rawPixels(const std::vector<uint8_t>& bytes);

// Whether a program can be found on PATH.
bool programAvailable(const char* name);
