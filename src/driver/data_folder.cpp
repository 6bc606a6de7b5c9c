#include "driver/data_folder.h"

#include <filesystem>
#include <system_error>

#include "scene/data_files.h"

#ifndef DEMO_INSTALLED_DATA_DIR
#define DEMO_INSTALLED_DATA_DIR ""
#endif

namespace {

bool holdsFile(const std::string& folder, const char* name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(folder + name), error);
}

bool holdsAllDataFiles(const std::string& folder) {
    for (const ImageFile& image : kImageFiles) {
        if (!holdsFile(folder, image.name)) return false;
    }
    return holdsFile(folder, kSongFileName);
}

std::string installedDataFolder() {
    const std::string folder = DEMO_INSTALLED_DATA_DIR;
    return folder.empty() || folder.back() == '/' ? folder : folder + '/';
}

}  // namespace

std::string chooseDataFolder(const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates) {
        if (holdsAllDataFiles(folder)) return folder;
    }
    return "";
}

// An unknown program folder comes as an empty candidate: the working folder again.
std::string findDataFolder() { return chooseDataFolder({"", executableFolder(), installedDataFolder()}); }

void enterDataFolder() {
    const std::string folder = findDataFolder();
    if (folder.empty()) return;
    std::error_code ignored;  // the loads then name the files they miss, as usual
    std::filesystem::current_path(std::filesystem::path(folder), ignored);
}
