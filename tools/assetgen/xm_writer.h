#pragma once
// An in-memory FastTracker 2 module and its writer (XM version 0x0104,
// linear frequency table, 16-bit samples, packed patterns).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr uint8_t kXmKeyOff = 97;

struct XmCell {
    uint8_t note = 0;        // 1 = C-0 ... 96 = B-7, 97 = key off
    uint8_t instrument = 0;  // 1-based, 0 = none
    uint8_t volume = 0;      // volume column: 0x10 + 0..64 sets the volume
    uint8_t effect = 0;
    uint8_t param = 0;
    bool operator==(const XmCell&) const = default;
};

struct XmPattern {
    int rows = 0;
    int channels = 0;
    std::vector<XmCell> cells;  // rows x channels, row by row

    XmPattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(static_cast<size_t>(rowCount * channelCount)) {}
    XmCell& at(int row, int channel) { return cells[static_cast<size_t>(row * channels + channel)]; }
    const XmCell& at(int row, int channel) const {
        return cells[static_cast<size_t>(row * channels + channel)];
    }
    bool operator==(const XmPattern&) const = default;
};

struct XmEnvelopePoint {
    uint16_t tick;
    uint16_t value;  // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points;  // at most 12; none = envelope off
    int sustainPoint = -1;                // -1 = no sustain
};

struct XmSample {
    std::string name;
    std::vector<int16_t> frames;
    uint32_t loopStart = 0;   // in frames
    uint32_t loopLength = 0;  // in frames; 0 = no loop
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
};

struct XmAutoVibrato {
    uint8_t type = 0, sweep = 0, depth = 0, rate = 0;
};

inline constexpr int kXmKeys = 96;

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;          // at least one
    std::array<uint8_t, kXmKeys> keymap{};  // the sample each note plays (0-based)
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;  // values 0..64, 32 = the sample's own panning
    uint16_t fadeout = 0;
    XmAutoVibrato vibrato;
};

struct XmModule {
    std::string name;
    int channels = 0;
    int speed = 6;
    int bpm = 125;
    int restartPosition = 0;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// Stores the pattern unless an identical one is already there; returns its index.
uint8_t addPattern(XmModule& module, const XmPattern& pattern);

std::vector<uint8_t> writeXm(const XmModule& module);

}  // namespace assetgen
