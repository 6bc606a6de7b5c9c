// Whether the outputs named on the command line can be written: ordinary
// files or folders (never kernel files or devices), none of them the same
// file as another output, as one of the data files the capture reads, or as
// one of the frame files the run writes.
#include <cerrno>
#include <cstring>

#include "capture_options.h"
#include "capture_platform.h"
#include "frame_files.h"
#include "output_paths.h"
#include "pending_file.h"
#include "scene/data_files.h"
#include "scene/frame_clock.h"

namespace {

constexpr char kNotOrdinary[] = ": not a regular file on an ordinary file system";
constexpr char kNotOrdinaryFolder[] = ": not a folder on an ordinary file system";

// Why files cannot be made in a folder, as the system says it; empty when they can.
std::string folderProblem(const PathFacts& folder) {
    if (!folder.exists) return std::strerror(folder.reason != 0 ? folder.reason : ENOENT);
    if (!folder.isFolder) return std::strerror(ENOTDIR);
    if (!folder.onOrdinaryFileSystem) return kNotOrdinaryFolder + 2;
    if (!folder.writable) return std::strerror(folder.reason != 0 ? folder.reason : EACCES);
    return "";
}

bool checkFolder(const std::string& dir, std::string& error) {
    const PathFacts facts = pathFacts(dir);
    const std::string problem = folderProblem(facts.exists ? facts : pathFacts(folderOf(dir)));
    if (problem.empty()) return true;
    error = "cannot write frames into the folder '" + dir + "': " + problem;
    return false;
}

// The temporary file beside the output can be made (a long name may be too
// long for it) and renamed over the output (a sticky folder may forbid it).
bool canMakeAndRename(const std::string& target, std::string& error) {
    std::string reason;
    if (!canReplace(target, reason)) {
        error += ": " + reason;
        return false;
    }
    PendingFile trial;  // removed at once, or by a stop that comes meanwhile
    if (!trial.begin(target, error)) return false;
    trial.discard();
    error.clear();
    return true;
}

// A link is written through: the checks are those of the file it reaches.
bool checkFile(const std::string& file, const char* what, std::string& error) {
    error = std::string("cannot write the ") + what + " file '" + file + "'";
    const auto refuse = [&error](const std::string& reason) {
        error += reason;
        return false;
    };
    if (file.empty() || std::strchr(kPathSeparators, file.back()) != nullptr)
        return refuse(std::string(": ") + std::strerror(EISDIR));
    const std::string target = outputTarget(file);
    const PathFacts facts = pathFacts(target);
    if (facts.isFolder) return refuse(std::string(": ") + std::strerror(EISDIR));
    if (facts.exists && (!facts.isRegularFile || !facts.onOrdinaryFileSystem)) return refuse(kNotOrdinary);
    const PathFacts folder = pathFacts(folderOf(target));
    if (!facts.exists && folder.exists && !folder.onOrdinaryFileSystem) return refuse(kNotOrdinary);
    const std::string problem = folderProblem(folder);
    if (!problem.empty()) return refuse(": " + problem);
    if (facts.exists && !facts.writable)
        return refuse(std::string(": ") + std::strerror(facts.reason != 0 ? facts.reason : EACCES));
    // The file is written under a new name in its folder and renamed into
    // place: both are tried now, so that no run fails at its end for them.
    return canMakeAndRename(target, error);
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

// An output in the frames folder under the name of one of the run's own
// frame files would be overwritten by that frame.
bool checkNotFrameFile(const std::string& file, const char* option, const CaptureOptions& options,
                       std::string& error) {
    if (options.framesDir.empty()) return true;
    const size_t cut = file.find_last_of(kPathSeparators);
    const std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
    int32_t frame = 0;
    const int32_t totalFrames = makeFrameSchedule(options.fps).totalFrames;
    if (!namesChosenFrame(name, options.rawFrames, options.onlyFrames, totalFrames, frame)) return true;
    if (!sameFile(file, options.framesDir + "/" + frameFileName(frame, options.rawFrames))) return true;
    error =
        std::string(option) + " names the file of frame " + std::to_string(frame) + ", which --frames writes";
    return false;
}

// Each frame file already there is replaced as the other outputs are: it
// must be a file that can be written, and none of the data files.
bool checkFrameFiles(const CaptureOptions& options, std::string& error) {
    const int32_t totalFrames = makeFrameSchedule(options.fps).totalFrames;
    for (const ExistingFrameFile& file :
         existingFrameFiles(options.framesDir, options.rawFrames, options.onlyFrames, totalFrames)) {
        const std::string path = options.framesDir + "/" + file.name;
        if (!checkFile(path, "frame", error) ||
            !checkNotDataFile(path, "--frames", options.dataFolder, error))
            return false;
    }
    return true;
}

struct NamedOutput {
    const char* option;
    const std::string& path;
};

bool checkOutputFile(const NamedOutput& file, const char* what, const CaptureOptions& options,
                     std::string& error) {
    if (file.path.empty()) return true;
    return checkFile(file.path, what, error) &&
           checkNotDataFile(file.path, file.option, options.dataFolder, error) &&
           checkNotFrameFile(file.path, file.option, options, error);
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
    if (!options.framesDir.empty() &&
        (!checkFolder(options.framesDir, error) || !checkFrameFiles(options, error)))
        return false;
    return checkOutputFile(wav, "soundtrack", options, error) &&
           checkOutputFile(video, "video", options, error);
}
