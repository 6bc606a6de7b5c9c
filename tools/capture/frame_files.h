#pragma once
// Writes presented frames as files DIR/frame_NNNNN.ppm (binary P6, RGB) or
// DIR/frame_NNNNN.raw (the 32-bit pixels as composed, little-endian).
// Each is written under a hidden temporary name unique to the run and then
// renamed. All buffers are made once; writing a frame allocates nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "raster/image.h"

// The name of frame k's file in the frames folder, frame_NNNNN.ppm or .raw.
std::string frameFileName(int32_t frame, bool raw);

// Whether a file name (without folder) is that of one of the frames a run
// writes: onlyFrames ascending, empty for every frame below totalFrames.
// Gives the frame's number.
bool namesChosenFrame(const std::string& name, bool raw, const std::vector<int32_t>& onlyFrames,
                      int32_t totalFrames, int32_t& frame);

// A file in the frames folder under the name of one of the run's frames.
struct ExistingFrameFile {
    int32_t frame;
    std::string name;  // as the folder has it (on Windows perhaps in other case)
};

// The files in dir named as frames the run writes, ascending by frame;
// none when dir does not exist.
std::vector<ExistingFrameFile> existingFrameFiles(const std::string& dir, bool raw,
                                                  const std::vector<int32_t>& onlyFrames,
                                                  int32_t totalFrames);

// A frame whose file is a symbolic link: the frame is written into the file
// the link reaches, and the link stays.
struct LinkedFrame {
    int32_t frame;
    std::string target;
    std::string temporary;  // beside the target; set by FrameFiles
};

// The frame files in dir that are links, ascending by frame.
std::vector<LinkedFrame> linkedFrames(const std::string& dir, bool raw,
                                      const std::vector<int32_t>& onlyFrames, int32_t totalFrames);

class FrameFiles {
public:
    // onlyFrames ascending; empty means every frame. links ascending by frame.
    FrameFiles(const std::string& dir, bool raw, const std::vector<int32_t>& onlyFrames,
               std::vector<LinkedFrame> links = {});

    // Writes the frame when it is one of the chosen. False on a write error,
    // with the reason in error().
    bool write(int32_t frame, const Image& image);

    int32_t filesWritten() const { return written; }
    const std::string& error() const { return message; }

private:
    bool isChosen(int32_t frame);
    const LinkedFrame* linkOf(int32_t frame);
    void nameFiles(int32_t frame);
    bool writeFile(const char* filePath, const unsigned char* bytes, size_t size);
    bool writeComplete(const unsigned char* bytes, size_t size);
    const unsigned char* encodePpm(const Image& image);

    std::string dir;
    // dir as the files are made in it: held open where the system allows
    // (output_paths.h), so that a folder moved during the run keeps its files.
    std::string workDir;
    bool raw;
    std::vector<int32_t> onlyFrames;
    size_t nextChosen = 0;
    std::vector<LinkedFrame> links;
    size_t nextLink = 0;
    std::vector<char> shownPath;  // dir/frame_NNNNN.ppm, for the messages
    std::vector<char> path;       // the file written: in workDir, or a link's target
    std::vector<char> temporaryPath;
    std::string runToken;  // in the temporary names: two runs into one folder never meet
    std::vector<unsigned char> bytes;
    size_t headerSize = 0;
    int32_t written = 0;
    std::string message;
};

// Makes the frame folder if it does not exist yet. False if that fails.
bool makeFrameFolder(const std::string& dir, std::string& error);
