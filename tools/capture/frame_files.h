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

class FrameFiles {
public:
    // onlyFrames ascending; empty means every frame.
    FrameFiles(const std::string& dir, bool raw, const std::vector<int32_t>& onlyFrames);

    // Writes the frame when it is one of the chosen. False on a write error,
    // with the reason in error().
    bool write(int32_t frame, const Image& image);

    int32_t filesWritten() const { return written; }
    const std::string& error() const { return message; }

private:
    bool isChosen(int32_t frame);
    bool writeFile(const char* filePath, const unsigned char* bytes, size_t size);
    bool writeComplete(const unsigned char* bytes, size_t size);
    const unsigned char* encodePpm(const Image& image);

    std::string dir;
    bool raw;
    std::vector<int32_t> onlyFrames;
    size_t nextChosen = 0;
    std::vector<char> path;
    std::vector<char> temporaryPath;
    std::string runToken;  // in the temporary names: two runs into one folder never meet
    std::vector<unsigned char> bytes;
    size_t headerSize = 0;
    int32_t written = 0;
    std::string message;
};

// Makes the frame folder if it does not exist yet. False if that fails.
bool makeFrameFolder(const std::string& dir, std::string& error);
