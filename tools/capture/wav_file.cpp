#include "wav_file.h"

#include <bit>
#include <cerrno>
#include <cstring>

#include "capture_platform.h"

namespace {

constexpr int32_t kBytesPerFrame = kChannels * 2;

void putLe(unsigned char* out, uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b) out[b] = static_cast<unsigned char>(value >> (8 * b));
}

// The canonical 44-byte RIFF header of a PCM file.
void makeHeader(unsigned char* header, uint32_t dataBytes) {
    std::memcpy(header, "RIFF", 4);
    putLe(header + 4, 36 + dataBytes, 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    putLe(header + 16, 16, 4);  // size of the format chunk
    putLe(header + 20, 1, 2);   // PCM
    putLe(header + 22, kChannels, 2);
    putLe(header + 24, kSampleRate, 4);
    putLe(header + 28, kSampleRate * kBytesPerFrame, 4);
    putLe(header + 32, kBytesPerFrame, 2);
    putLe(header + 34, 16, 2);  // bits per sample
    std::memcpy(header + 36, "data", 4);
    putLe(header + 40, dataBytes, 4);
}

}  // namespace

WavFile::~WavFile() {
    if (file != nullptr) std::fclose(file);
}

bool WavFile::fail(const std::string& what) {
    if (message.empty()) message = what + " '" + name + "': " + std::strerror(errno);
    return false;
}

bool WavFile::open(const std::string& path, int64_t frameCount, const std::string& shownName) {
    name = shownName.empty() ? path : shownName;
    framesExpected = frameCount;
    const int64_t dataBytes = frameCount * kBytesPerFrame;
    if (dataBytes > int64_t{UINT32_MAX} - 36) {
        errno = EFBIG;
        return fail("soundtrack too long for");
    }
    file = openOutputStream(path.c_str());
    if (file == nullptr) return fail("cannot create");
    unsigned char header[44];
    makeHeader(header, static_cast<uint32_t>(dataBytes));
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) return fail("cannot write");
    return true;
}

bool WavFile::append(const int16_t* interleaved, size_t count) {
    const size_t samples = count * kChannels;
    if constexpr (std::endian::native == std::endian::little) {
        if (std::fwrite(interleaved, 2, samples, file) != samples) return fail("cannot write");
    } else {
        for (size_t i = 0; i < samples; ++i) {
            unsigned char le[2];
            putLe(le, static_cast<uint16_t>(interleaved[i]), 2);
            if (std::fwrite(le, 1, 2, file) != 2) return fail("cannot write");
        }
    }
    framesWritten += static_cast<int64_t>(count);
    return true;
}

bool WavFile::close() {
    if (file == nullptr) return false;
    const bool flushed = std::fclose(file) == 0;
    file = nullptr;
    if (!flushed) return fail("cannot write");
    if (framesWritten != framesExpected) {
        if (message.empty()) message = "soundtrack '" + name + "' came out short";
        return false;
    }
    return message.empty();
}
