// Whether the outputs named on the command line can be written.
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "capture_options.h"
#include "capture_platform.h"

namespace {

bool isWritableDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(path.c_str(), W_OK | X_OK) == 0;
}

std::string parentOf(const std::string& path) {
    const size_t slash = path.find_last_of(kPathSeparators);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool checkFolder(const std::string& dir, std::string& error) {
    struct stat info {};
    const bool exists = stat(dir.c_str(), &info) == 0;
    if (exists ? isWritableDirectory(dir) : isWritableDirectory(parentOf(dir))) return true;
    error = "cannot write frames into the folder '" + dir + "'";
    return false;
}

bool checkFile(const std::string& file, const char* what, std::string& error) {
    struct stat info {};
    const bool exists = stat(file.c_str(), &info) == 0;
    const bool writable = exists ? S_ISREG(info.st_mode) && access(file.c_str(), W_OK) == 0
                                 : isWritableDirectory(parentOf(file));
    if (writable && !file.empty() && std::strchr(kPathSeparators, file.back()) == nullptr) return true;
    error = std::string("cannot write the ") + what + " file '" + file + "'";
    return false;
}

}  // namespace

bool checkCaptureOutputs(const CaptureOptions& options, std::string& error) {
    if (!options.framesDir.empty() && !checkFolder(options.framesDir, error)) return false;
    if (!options.wavFile.empty() && !checkFile(options.wavFile, "soundtrack", error)) return false;
    if (!options.videoFile.empty() && !checkFile(options.videoFile, "video", error)) return false;
    return true;
}
