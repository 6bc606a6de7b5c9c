// Whether the outputs named on the command line can be written: ordinary
// files or folders (never kernel files or devices), none of them the same
// file as another output or as one of the data files the capture reads.
#include <cstring>

#include "capture_options.h"
#include "capture_platform.h"
#include "output_paths.h"
#include "scene/data_files.h"

namespace {

constexpr char kNotOrdinary[] = ": not a regular file on an ordinary file system";

bool isWritableFolder(const PathFacts& facts) {
    return facts.exists && facts.isFolder && facts.writable && facts.onOrdinaryFileSystem;
}

bool checkFolder(const std::string& dir, std::string& error) {
    const PathFacts facts = pathFacts(dir);
    if (facts.exists ? isWritableFolder(facts) : isWritableFolder(pathFacts(folderOf(dir)))) return true;
    error = "cannot write frames into the folder '" + dir + "'";
    return false;
}

bool checkFile(const std::string& file, const char* what, std::string& error) {
    const PathFacts facts = pathFacts(file);
    error = std::string("cannot write the ") + what + " file '" + file + "'";
    if (file.empty() || std::strchr(kPathSeparators, file.back()) != nullptr) return false;
    if (facts.exists && (!facts.isRegularFile || !facts.onOrdinaryFileSystem)) {
        if (!facts.isFolder) error += kNotOrdinary;
        return false;
    }
    const PathFacts folder = pathFacts(folderOf(file));
    if (!facts.exists && folder.exists && !folder.onOrdinaryFileSystem) {
        error += kNotOrdinary;
        return false;
    }
    // The file is written under a new name in its folder and renamed into place.
    if (!isWritableFolder(folder) || (facts.exists && !facts.writable)) return false;
    error.clear();
    return true;
}

bool isNotNamedFile(const std::string& file, const std::string& dataFile, const char* option,
                    std::string& error) {
    if (!sameFile(file, dataFile)) return true;
    error = std::string(option) + " names the data file '" + dataFile + "', which the capture reads";
    return false;
}

// folder: the data folder, a prefix of the data files' names.
bool checkNotDataFile(const std::string& file, const char* option, const std::string& folder,
                      std::string& error) {
    for (const ImageFile& image : kImageFiles) {
        if (!isNotNamedFile(file, folder + image.name, option, error)) return false;
    }
    return isNotNamedFile(file, folder + kSongFileName, option, error);
}

struct NamedOutput {
    const char* option;
    const std::string& path;
};

bool checkOutputFile(const NamedOutput& file, const char* what, const std::string& dataFolder,
                     std::string& error) {
    if (file.path.empty()) return true;
    return checkFile(file.path, what, error) && checkNotDataFile(file.path, file.option, dataFolder, error);
}

bool checkDistinct(const NamedOutput& a, const NamedOutput& b, std::string& error) {
    if (a.path.empty() || b.path.empty() || !sameFile(a.path, b.path)) return true;
    error = std::string(a.option) + " and " + b.option + " name the same file";
    return false;
}

}  // namespace

bool checkCaptureOutputs(const CaptureOptions& options, std::string& error) {
    const NamedOutput frames{"--frames", options.framesDir};
    const NamedOutput wav{"--wav", options.wavFile};
    const NamedOutput video{"--video", options.videoFile};
    if (!checkDistinct(wav, video, error) || !checkDistinct(frames, wav, error) ||
        !checkDistinct(frames, video, error)) {
        return false;
    }
    if (!options.framesDir.empty() && !checkFolder(options.framesDir, error)) return false;
    return checkOutputFile(wav, "soundtrack", options.dataFolder, error) &&
           checkOutputFile(video, "video", options.dataFolder, error);
}
