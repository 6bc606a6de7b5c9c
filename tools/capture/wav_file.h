#pragma once
// A 16-bit PCM WAV file of the sound layer's format (44.1 kHz stereo) whose
// length is known before the first sample.
#include <cstdint>
#include <cstdio>
#include <string>

#include "sound/sample_format.h"

class WavFile {
public:
    WavFile() = default;
    ~WavFile();
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Creates the file and writes the header for frameCount stereo frames.
    // Messages name the file shownName (the path when empty).
    bool open(const std::string& path, int64_t frameCount, const std::string& shownName = "");
    // Appends count interleaved stereo frames.
    bool append(const int16_t* interleaved, size_t count);
    // Closes the file; false if any write failed or fewer frames came than announced.
    bool close();

    const std::string& error() const { return message; }

private:
    bool fail(const std::string& what);

    std::FILE* file = nullptr;
    std::string name;
    int64_t framesExpected = 0;
    int64_t framesWritten = 0;
    std::string message;
};
