#include "sound/xm_extent.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kSignature[] = "Extended Module: ";
constexpr size_t kSignatureSize = sizeof(kSignature) - 1;
constexpr uint64_t kHeaderSizeField = 60;  // the header size counts from here

// Reads little-endian fields; a field past the end of the file stops the walk.
class FieldReader {
public:
    FieldReader(const unsigned char* bytes, size_t size) : bytes(bytes), size(size) {}

    bool read(uint64_t at, int width, uint64_t& value) {
        ++reads;
        if (at + static_cast<uint64_t>(width) > size) {
            shortAt(at + static_cast<uint64_t>(width));
            return false;
        }
        value = 0;
        for (int b = 0; b < width; ++b) value |= uint64_t{bytes[at + static_cast<uint64_t>(b)]} << (8 * b);
        return true;
    }

    void shortAt(uint64_t end) {
        if (end > missingEnd) missingEnd = end;
    }
    uint64_t missingEnd = 0;  // 0 while nothing is missing
    uint64_t reads = 0;

private:
    const unsigned char* bytes;
    size_t size;
};

// Returns the offset after the pattern at `at`, or 0 when a field is missing.
uint64_t skipPattern(FieldReader& in, uint64_t at) {
    uint64_t headerLength = 0, packedSize = 0;
    if (!in.read(at, 4, headerLength) || !in.read(at + 7, 2, packedSize)) return 0;
    return at + headerLength + packedSize;
}

// Returns the offset after the instrument and its samples, or 0 when a field is missing.
uint64_t skipInstrument(FieldReader& in, uint64_t at) {
    uint64_t headerSize = 0, samples = 0, sampleHeaderSize = 0;
    if (!in.read(at, 4, headerSize) || !in.read(at + 27, 2, samples)) return 0;
    if (samples == 0) return at + headerSize;
    if (!in.read(at + 29, 4, sampleHeaderSize)) return 0;
    const uint64_t sampleHeaders = at + headerSize;
    // Headers of size 0 all lie at one place: one length, read once, for
    // every sample. Otherwise each length read lies further on, so the walk
    // ends within the file's size in steps.
    if (sampleHeaderSize == 0) {
        uint64_t length = 0;
        if (!in.read(sampleHeaders, 4, length)) return 0;
        return sampleHeaders + samples * length;
    }
    uint64_t dataBytes = 0;
    for (uint64_t s = 0; s < samples; ++s) {
        uint64_t length = 0;
        if (!in.read(sampleHeaders + s * sampleHeaderSize, 4, length)) return 0;
        dataBytes += length;
    }
    return sampleHeaders + samples * sampleHeaderSize + dataBytes;
}

}  // namespace

XmExtent measureXmExtent(const unsigned char* bytes, size_t size) {
    XmExtent extent;
    if (size < kSignatureSize || std::memcmp(bytes, kSignature, kSignatureSize) != 0) return extent;
    extent.isXm = true;
    FieldReader in(bytes, size);
    uint64_t headerSize = 0, patterns = 0, instruments = 0;
    uint64_t at = 0;
    if (in.read(kHeaderSizeField, 4, headerSize) && in.read(70, 2, patterns) && in.read(72, 2, instruments)) {
        at = kHeaderSizeField + headerSize;
        // A part that takes no bytes leaves the next one at the same place,
        // where it reads the same fields: all that follow take none either.
        for (uint64_t p = 0; p < patterns && at != 0; ++p) {
            const uint64_t next = skipPattern(in, at);
            if (next == at) break;
            at = next;
        }
        for (uint64_t i = 0; i < instruments && at != 0; ++i) {
            const uint64_t next = skipInstrument(in, at);
            if (next == at) break;
            at = next;
        }
    }
    if (at > size) in.shortAt(at);
    extent.complete = in.missingEnd == 0;
    extent.declaredBytes = extent.complete ? at : in.missingEnd;
    extent.fieldsRead = in.reads;
    return extent;
}

void describeShortModule(const char* name, const XmExtent& extent, size_t size, char* line, size_t lineSize) {
    if (lineSize == 0) return;
    line[0] = '\0';
    if (!extent.isXm || extent.complete) return;
    std::snprintf(line, lineSize,
                  "the module '%s' is damaged: it has %zu bytes, its headers declare at least %llu", name,
                  size, static_cast<unsigned long long>(extent.declaredBytes));
}
