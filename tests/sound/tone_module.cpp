#include "tone_module.h"

#include <cstdio>
#include <cstring>

namespace {

class ByteWriter {
public:
    void u8(uint32_t value) { bytes_.push_back(static_cast<uint8_t>(value)); }
    void u16(uint32_t value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void text(const char* value, size_t fieldSize) {
        const size_t length = std::strlen(value);
        for (size_t i = 0; i < fieldSize; ++i) u8(i < length ? static_cast<uint8_t>(value[i]) : 0);
    }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

constexpr uint32_t kRows = 16;
constexpr uint32_t kSampleLength = 64;
constexpr uint8_t kNoteC4 = 49;

void writeHeader(ByteWriter& out) {
    out.text("Extended Module: ", 17);
    out.text("tone", 20);
    out.u8(0x1A);
    out.text("test", 20);
    out.u16(0x0104);
    out.u32(276);    // header size from this field to the end of the order table
    out.u16(1);      // song length
    out.u16(0);      // restart position
    out.u16(2);      // channels
    out.u16(1);      // patterns
    out.u16(1);      // instruments
    out.u16(1);      // linear frequency table
    out.u16(6);      // speed
    out.u16(125);    // BPM
    out.zeros(256);  // order table: pattern 0
}

// Row 0 plays C-4 with instrument 1 on channel 0; every other cell is empty.
void writePattern(ByteWriter& out) {
    constexpr uint32_t kNoteCellSize = 5;
    constexpr uint32_t kEmptyCellCount = 2 * kRows - 1;
    out.u32(9);
    out.u8(0);
    out.u16(kRows);
    out.u16(kNoteCellSize + kEmptyCellCount);
    out.u8(kNoteC4);
    out.u8(1);
    out.zeros(3);
    for (uint32_t i = 0; i < kEmptyCellCount; ++i) out.u8(0x80);
}

void writeInstrument(ByteWriter& out) {
    out.u32(263);
    out.text("square", 22);
    out.u8(0);
    out.u16(1);                                        // samples
    out.u32(40);                                       // sample header size
    out.zeros(96 + 48 + 48 + 2 + 6 + 2 + 4 + 2 + 22);  // keymap, envelopes, vibrato, fadeout, reserved
    out.u32(kSampleLength);
    out.u32(0);              // loop start
    out.u32(kSampleLength);  // loop length
    out.u8(64);              // volume
    out.u8(0);               // finetune
    out.u8(1);               // forward loop, 8-bit
    out.u8(128);             // panning
    out.u8(0);               // relative note
    out.u8(0);
    out.text("square", 22);
    // Delta-coded square wave: +64 for half the period, -64 for the other half.
    for (uint32_t i = 0; i < kSampleLength; ++i) {
        const uint8_t delta = i == 0 ? 64 : (i == kSampleLength / 2 ? 0x80 : 0);
        out.u8(delta);
    }
}

}  // namespace

std::vector<uint8_t> makeToneModule() {
    ByteWriter out;
    writeHeader(out);
    writePattern(out);
    writeInstrument(out);
    return out.take();
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
