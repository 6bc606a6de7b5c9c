#pragma once
// A fresh working folder for one run of a demo program, holding copies of
// the data files from the run folder of the build.
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/transcript.h"

class RunFolder {
public:
    // Copies every data file except those named in leaveOut.
    explicit RunFolder(const std::vector<std::string>& leaveOut = {});
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Whether the folder and every file meant for it were made.
    bool ready() const { return ready_; }
    const std::string& path() const { return path_; }
    std::string file(const char* name) const { return path_ + "/" + name; }
    // Runs a program of the build's run folder here.
    ChildResult run(const char* program, const Environment& extra, std::chrono::seconds limit) const;
    // Runs a copy of the program from a folder of its own without data files,
    // so that a working folder lacking some files stays the data folder.
    ChildResult runCopy(const char* program, const Environment& extra, std::chrono::seconds limit) const;

private:
    std::string path_;
    bool ready_ = false;
};

// Whether a sanitizer or the runtime reported a fault on standard error.
bool reportsFault(const std::string& err);
