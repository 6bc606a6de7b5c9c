#include "run_folder.h"

#include <algorithm>
#include <filesystem>

#include "scene/data_files.h"
#include "support/system.h"

namespace fs = std::filesystem;

RunFolder::RunFolder(const std::vector<std::string>& leaveOut)
    : startFolder_(fs::current_path().string()),
      path_(makeFreshFolder(fs::temp_directory_path().string(), "demo_run")) {
    std::error_code error;
    ready_ = !path_.empty();
    std::vector<const char*> names{kSongFileName};
    for (const ImageFile& image : kImageFiles) names.push_back(image.name);
    for (const char* name : names) {
        if (std::find(leaveOut.begin(), leaveOut.end(), name) != leaveOut.end()) continue;
        ready_ = fs::copy_file(fs::path(DEMO_RUN_DIR) / name, fs::path(path_) / name, error) && ready_;
    }
    if (ready_) fs::current_path(path_, error);
    ready_ = ready_ && !error;
}

RunFolder::~RunFolder() {
    std::error_code ignored;
    fs::current_path(startFolder_, ignored);
    fs::remove_all(path_, ignored);
}
