#include "frame_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "capture_platform.h"
#include "output_paths.h"
#include "raster/frame_bytes.h"
#include "scene/frame_list.h"
#include "stop_signals.h"

namespace {

constexpr char kPpmHeader[] = "P6\n640 480\n255\n";
constexpr size_t kPixelCount = size_t{kScreenWidth} * kScreenHeight;
constexpr char kFrameFileFormat[] = "frame_%05d.%s";

const char* extension(bool raw) { return raw ? "raw" : "ppm"; }

// 64 random bits in hex.
std::string makeRunToken() {
    std::random_device entropy;
    char token[17];
    std::snprintf(token, sizeof token, "%08x%08x", entropy(), entropy());
    return token;
}

}  // namespace

std::string frameFileName(int32_t frame, bool raw) {
    char name[32];
    std::snprintf(name, sizeof name, kFrameFileFormat, frame, extension(raw));
    return name;
}

bool namesChosenFrame(const std::string& name, bool raw, const std::vector<int32_t>& onlyFrames,
                      int32_t totalFrames, int32_t& frame) {
    const std::string prefix = "frame_";
    const size_t dot = name.rfind('.');
    if (name.size() <= prefix.size() || dot == std::string::npos || dot < prefix.size()) return false;
    if (!parseWholeNumber(std::string_view(name).substr(prefix.size(), dot - prefix.size()), frame))
        return false;
    // Compared without case: on Windows FRAME_00003.PPM is the same file.
    const std::string canonical = frameFileName(frame, raw);
    if (canonical.size() != name.size() ||
        !std::equal(name.begin(), name.end(), canonical.begin(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
        return false;
    }
    if (onlyFrames.empty()) return frame < totalFrames;
    return std::binary_search(onlyFrames.begin(), onlyFrames.end(), frame);
}

std::vector<ExistingFrameFile> existingFrameFiles(const std::string& dir, bool raw,
                                                  const std::vector<int32_t>& onlyFrames,
                                                  int32_t totalFrames) {
    std::vector<ExistingFrameFile> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        int32_t frame = 0;
        if (namesChosenFrame(name, raw, onlyFrames, totalFrames, frame)) files.push_back({frame, name});
    }
    std::sort(files.begin(), files.end(),
              [](const ExistingFrameFile& a, const ExistingFrameFile& b) { return a.frame < b.frame; });
    return files;
}

std::vector<LinkedFrame> linkedFrames(const std::string& dir, bool raw,
                                      const std::vector<int32_t>& onlyFrames, int32_t totalFrames) {
    std::vector<LinkedFrame> links;
    for (const ExistingFrameFile& file : existingFrameFiles(dir, raw, onlyFrames, totalFrames)) {
        const std::string path = dir + "/" + file.name;
        const std::string target = outputTarget(path);
        if (target != path) links.push_back({file.frame, target, ""});
    }
    return links;
}

FrameFiles::FrameFiles(const std::string& folder, bool rawWords, const std::vector<int32_t>& chosen,
                       std::vector<LinkedFrame> linked)
    : dir(folder),
      workDir(holdFolder(folder)),
      raw(rawWords),
      onlyFrames(chosen),
      links(std::move(linked)),
      runToken(makeRunToken()) {
    size_t longest = std::max(dir.size(), workDir.size());
    for (LinkedFrame& link : links) {
        const size_t cut = link.target.find_last_of(kPathSeparators);
        const std::string name = cut == std::string::npos ? link.target : link.target.substr(cut + 1);
        link.temporary = folderOf(link.target) + "/." + name + "." + runToken + ".part";
        longest = std::max(longest, link.temporary.size());
    }
    shownPath.resize(dir.size() + 64);
    path.resize(longest + 64);
    temporaryPath.resize(longest + 96);
    headerSize = raw ? 0 : sizeof(kPpmHeader) - 1;
    bytes.resize(headerSize + kPixelCount * (raw ? 4 : 3));
    std::memcpy(bytes.data(), kPpmHeader, headerSize);
}

bool FrameFiles::isChosen(int32_t frame) {
    if (onlyFrames.empty()) return true;
    // Frames come in ascending order, so one cursor walks the sorted list.
    while (nextChosen < onlyFrames.size() && onlyFrames[nextChosen] < frame) ++nextChosen;
    return nextChosen < onlyFrames.size() && onlyFrames[nextChosen] == frame;
}

// Bytes red, green, blue from bits 16-23, 8-15 and 0-7 of each pixel.
const unsigned char* FrameFiles::encodePpm(const Image& image) {
    const uint32_t* pixels = image.getPixels();
    unsigned char* out = bytes.data() + headerSize;
    for (size_t k = 0; k < kPixelCount; ++k) {
        const uint32_t p = pixels[k];
        out[3 * k] = static_cast<unsigned char>(p >> 16);
        out[3 * k + 1] = static_cast<unsigned char>(p >> 8);
        out[3 * k + 2] = static_cast<unsigned char>(p);
    }
    return bytes.data();
}

bool FrameFiles::writeFile(const char* filePath, const unsigned char* data, size_t size) {
    std::FILE* file = openOutputStream(filePath);
    bool ok = file != nullptr && std::fwrite(data, 1, size, file) == size;
    int savedErrno = errno;
    if (file != nullptr && std::fclose(file) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) message = std::string("cannot write '") + shownPath.data() + "': " + std::strerror(savedErrno);
    return ok;
}

// The frame is written under a hidden name and renamed when complete, so a
// full disk or a stop leaves no cut frame under a frame's name.
bool FrameFiles::writeComplete(const unsigned char* data, size_t size) {
    const int32_t slot = registerPendingFile(temporaryPath.data());
    bool ok = writeFile(temporaryPath.data(), data, size);
    if (ok) keepNarrowerMode(temporaryPath.data(), path.data());
    if (ok && !moveIntoPlace(temporaryPath.data(), path.data(), message)) {
        // The message names the file as the command line did.
        const size_t reason = std::strlen("cannot write '") + std::strlen(path.data()) + 1;
        if (message.size() >= reason)
            message = std::string("cannot write '") + shownPath.data() + "'" + message.substr(reason);
        ok = false;
    }
    if (!ok) removeFile(temporaryPath.data());
    forgetPendingFile(slot);
    return ok;
}

const LinkedFrame* FrameFiles::linkOf(int32_t frame) {
    // Frames come in ascending order, as the links are sorted.
    while (nextLink < links.size() && links[nextLink].frame < frame) ++nextLink;
    return nextLink < links.size() && links[nextLink].frame == frame ? &links[nextLink] : nullptr;
}

void FrameFiles::nameFiles(int32_t frame) {
    const int shownFolder = std::snprintf(shownPath.data(), shownPath.size(), "%s/", dir.c_str());
    std::snprintf(shownPath.data() + shownFolder, shownPath.size() - shownFolder, kFrameFileFormat, frame,
                  extension(raw));
    const char* name = shownPath.data() + shownFolder;
    if (const LinkedFrame* link = linkOf(frame)) {
        std::snprintf(path.data(), path.size(), "%s", link->target.c_str());
        std::snprintf(temporaryPath.data(), temporaryPath.size(), "%s", link->temporary.c_str());
        return;
    }
    std::snprintf(path.data(), path.size(), "%s/%s", workDir.c_str(), name);
    std::snprintf(temporaryPath.data(), temporaryPath.size(), "%s/.%s.%s.part", workDir.c_str(), name,
                  runToken.c_str());
}

bool FrameFiles::write(int32_t frame, const Image& image) {
    if (!isChosen(frame)) return true;
    nameFiles(frame);
    const unsigned char* data = raw ? littleEndianBytes(image, bytes.data()) : encodePpm(image);
    if (!writeComplete(data, bytes.size())) return false;
    ++written;
    return true;
}

bool makeFrameFolder(const std::string& dir, std::string& error) {
    if (createFolder(dir.c_str()) == 0 || errno == EEXIST) return true;
    error = "cannot make the folder '" + dir + "': " + std::strerror(errno);
    return false;
}
