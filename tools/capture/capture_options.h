#pragma once
// The command line of demo_capture and its checks. Everything is checked
// before any work starts, so a bad command line writes nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "video_quality.h"

struct CaptureOptions {
    int32_t fps = 60;
    std::string framesDir;            // empty: no frame files
    bool rawFrames = false;           // .raw words instead of .ppm
    std::vector<int32_t> onlyFrames;  // ascending, unique; empty: every frame
    std::string wavFile;              // empty: no soundtrack file
    std::string videoFile;            // empty: no video
    int32_t videoWidth = 640;
    int32_t videoHeight = 480;
    VideoQuality videoQuality;
    bool showHelp = false;
    bool showVersion = false;
    // Where the data files are read: a prefix of their names (driver/data_folder.h),
    // empty for the working folder. The outputs stay relative to the working folder.
    std::string dataFolder;
};

// The usage text of the program started as name: its synopsis and
// kCaptureOptionsText, the options one by one.
std::string captureUsage(const std::string& name);
extern const char kCaptureOptionsText[];

// Reads argv into options. On a bad argument returns false with a one-line
// message (without the program's name and without line end) in error.
bool parseCaptureOptions(int argc, char** argv, CaptureOptions& options, std::string& error);

// Checks that every output can be written: the frame folder exists and is
// writable (or can be made in a writable parent), the files' folders are
// writable, all on ordinary file systems, and a temporary file beside each
// output file can be made and renamed over it (one is made and removed at
// once); no two outputs are the same file, no output file is a data file
// or one of the run's frame files. Writes nothing that stays.
bool checkCaptureOutputs(const CaptureOptions& options, std::string& error);
