#include "run_folder.h"

#include <algorithm>
#include <filesystem>

#include "scene/data_files.h"
#include "support/process.h"
#include "support/system.h"

namespace fs = std::filesystem;

namespace {

const char* const kDataFiles[] = {kBackgroundFile.name, kFlareFile.name, kSmallFlareFile.name, kFontFile.name,
                                  kSongFileName};

}  // namespace

RunFolder::RunFolder(const std::vector<std::string>& leaveOut)
    : path_(makeFreshFolder(fs::temp_directory_path().string(), "demo_run")) {
    std::error_code error;
    ready_ = !path_.empty();
    for (const char* name : kDataFiles) {
        if (std::find(leaveOut.begin(), leaveOut.end(), name) != leaveOut.end()) continue;
        ready_ = fs::copy_file(fs::path(DEMO_RUN_DIR) / name, fs::path(path_) / name, error) && ready_;
    }
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

ChildResult RunFolder::run(const char* program, const Environment& extra, std::chrono::seconds limit) const {
    return runProgram({(fs::path(DEMO_RUN_DIR) / program).string()}, limit, extra, path_);
}

ChildResult RunFolder::runCopy(const char* program, const Environment& extra,
                               std::chrono::seconds limit) const {
    const fs::path copy = fs::path(path_) / "program" / program;
    std::error_code error;
    fs::create_directory(copy.parent_path(), error);
    fs::copy_file(fs::path(DEMO_RUN_DIR) / program, copy, fs::copy_options::overwrite_existing, error);
    return runProgram({copy.string()}, limit, extra, path_);
}

bool reportsFault(const std::string& err) {
    for (const char* mark : {"Sanitizer", "runtime error:", "terminate called", "Segmentation fault"}) {
        if (err.find(mark) != std::string::npos) return true;
    }
    return false;
}
