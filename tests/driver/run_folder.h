#pragma once
// A fresh working folder for one run of the demo in the test's own process,
// holding copies of the build's data files; the test works in it while the
// object lives.
#include <string>
#include <vector>

class RunFolder {
public:
    // Copies every data file except those named in leaveOut, and changes into the folder.
    explicit RunFolder(const std::vector<std::string>& leaveOut = {});
    // Back to the folder the test started in; the folder goes.
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Whether the folder and every file meant for it were made.
    bool ready() const { return ready_; }
    std::string file(const char* name) const { return path_ + "/" + name; }

private:
    std::string startFolder_;
    std::string path_;
    bool ready_ = false;
};
