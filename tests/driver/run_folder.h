#pragma once
// A fresh working folder for one run of a demo program, holding copies of
// the data files from the run folder of the build.
#include <string>
#include <vector>

#include "child_process.h"

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

private:
    std::string path_;
    bool ready_ = false;
};

// The console lines of the run, as the driver writes them.
namespace transcript {
inline constexpr const char kStart[] = "Demo-Engine by Vak\n\n loading data ...\n";
inline constexpr const char kLoadingSound[] = "\n loading sound ...\n";
inline constexpr const char kInitDisplay[] = "\n init DirextX ...\n";
inline constexpr const char kDisplayFailed[] = "\n DirectX Suxxs !!!\n";
inline constexpr const char kGo[] = "\n Go..............\n";
// Start-up up to "Go" when every file loads.
std::string upToGo();
// " finish...", the credits and the closing words.
std::string credits();
}  // namespace transcript
