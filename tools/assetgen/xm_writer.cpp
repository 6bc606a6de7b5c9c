#include "xm_writer.h"

#include <algorithm>

namespace assetgen {

namespace {

constexpr uint32_t kHeaderSize = 276;
constexpr uint32_t kInstrumentHeaderSize = 263;
constexpr uint32_t kSampleHeaderSize = 40;
constexpr uint8_t kSampleIs16Bit = 0x10;
constexpr uint8_t kForwardLoop = 0x01;

class ByteWriter {
public:
    void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) {
        u8(v & 0xff);
        u8((v >> 8) & 0xff);
    }
    void u32(uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    // A fixed-size text field, padded with `pad`.
    void text(const std::string& s, size_t size, char pad = '\0') {
        for (size_t i = 0; i < size; ++i) u8(static_cast<uint8_t>(i < s.size() ? s[i] : pad));
    }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    void append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
    std::vector<uint8_t> bytes;
};

void writeHeader(ByteWriter& out, const XmModule& m) {
    out.text("Extended Module: ", 17);
    out.text(m.name, 20);
    out.u8(0x1a);
    out.text("assetgen", 20, ' ');
    out.u16(0x0104);
    out.u32(kHeaderSize);
    out.u16(static_cast<uint32_t>(m.orders.size()));
    out.u16(static_cast<uint32_t>(m.restartPosition));
    out.u16(static_cast<uint32_t>(m.channels));
    out.u16(static_cast<uint32_t>(m.patterns.size()));
    out.u16(static_cast<uint32_t>(m.instruments.size()));
    out.u16(1);  // linear frequency table
    out.u16(static_cast<uint32_t>(m.speed));
    out.u16(static_cast<uint32_t>(m.bpm));
    for (size_t i = 0; i < 256; ++i) out.u8(i < m.orders.size() ? m.orders[i] : 0);
}

// A cell in packed form: a flag byte naming the fields that follow.
void packCell(ByteWriter& out, const XmCell& c) {
    const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
    uint8_t flags = 0x80;
    for (int i = 0; i < 5; ++i)
        if (fields[i] != 0) flags |= static_cast<uint8_t>(1 << i);
    out.u8(flags);
    for (int i = 0; i < 5; ++i)
        if (fields[i] != 0) out.u8(fields[i]);
}

void writePattern(ByteWriter& out, const XmPattern& p) {
    ByteWriter packed;
    for (const XmCell& c : p.cells) packCell(packed, c);
    out.u32(9);
    out.u8(0);
    out.u16(static_cast<uint32_t>(p.rows));
    out.u16(static_cast<uint32_t>(packed.bytes.size()));
    out.append(packed.bytes);
}

void writeEnvelopePoints(ByteWriter& out, const XmEnvelope& e) {
    for (size_t i = 0; i < 12; ++i) {
        out.u16(i < e.points.size() ? e.points[i].tick : 0);
        out.u16(i < e.points.size() ? e.points[i].value : 0);
    }
}

void writeSampleHeader(ByteWriter& out, const XmSample& s) {
    const bool loops = s.loopLength > 0;
    out.u32(static_cast<uint32_t>(s.frames.size() * 2));
    out.u32(loops ? s.loopStart * 2 : 0);
    out.u32(loops ? s.loopLength * 2 : 0);
    out.u8(s.volume);
    out.u8(static_cast<uint8_t>(s.finetune));
    out.u8(kSampleIs16Bit | (loops ? kForwardLoop : 0));
    out.u8(s.panning);
    out.u8(static_cast<uint8_t>(s.relativeNote));
    out.u8(0);
    out.text(s.name, 22);
}

void writeSampleData(ByteWriter& out, const XmSample& s) {
    int16_t previous = 0;
    for (int16_t v : s.frames) {
        out.u16(static_cast<uint16_t>(static_cast<uint16_t>(v) - static_cast<uint16_t>(previous)));
        previous = v;
    }
}

void writeEnvelopeSettings(ByteWriter& out, const XmEnvelope& e) {
    out.u8(e.sustainPoint < 0 ? 0 : static_cast<uint32_t>(e.sustainPoint));
    out.zeros(2);  // loop start and end
}

uint32_t envelopeType(const XmEnvelope& e) {
    const bool on = !e.points.empty();
    return (on ? 1u : 0u) | (on && e.sustainPoint >= 0 ? 2u : 0u);
}

void writeInstrument(ByteWriter& out, const XmInstrument& ins) {
    const XmEnvelope& volume = ins.volumeEnvelope;
    const XmEnvelope& panning = ins.panningEnvelope;
    out.u32(kInstrumentHeaderSize);
    out.text(ins.name, 22);
    out.u8(0);
    out.u16(static_cast<uint32_t>(ins.samples.size()));
    out.u32(kSampleHeaderSize);
    for (uint8_t sample : ins.keymap) out.u8(sample);
    writeEnvelopePoints(out, volume);
    writeEnvelopePoints(out, panning);
    out.u8(static_cast<uint32_t>(volume.points.size()));
    out.u8(static_cast<uint32_t>(panning.points.size()));
    writeEnvelopeSettings(out, volume);
    writeEnvelopeSettings(out, panning);
    out.u8(envelopeType(volume));
    out.u8(envelopeType(panning));
    out.u8(ins.vibrato.type);
    out.u8(ins.vibrato.sweep);
    out.u8(ins.vibrato.depth);
    out.u8(ins.vibrato.rate);
    out.u16(ins.fadeout);
    out.zeros(22);
    for (const XmSample& s : ins.samples) writeSampleHeader(out, s);
    for (const XmSample& s : ins.samples) writeSampleData(out, s);
}

}  // namespace

uint8_t addPattern(XmModule& module, const XmPattern& pattern) {
    const auto found = std::find(module.patterns.begin(), module.patterns.end(), pattern);
    if (found != module.patterns.end()) return static_cast<uint8_t>(found - module.patterns.begin());
    module.patterns.push_back(pattern);
    return static_cast<uint8_t>(module.patterns.size() - 1);
}

std::vector<uint8_t> writeXm(const XmModule& module) {
    ByteWriter out;
    writeHeader(out, module);
    for (const XmPattern& p : module.patterns) writePattern(out, p);
    for (const XmInstrument& ins : module.instruments) writeInstrument(out, ins);
    return out.bytes;
}

}  // namespace assetgen
