#pragma once
// Writing a bar's cells: notes, drum hits, key offs, volumes and effects,
// as a tracker musician enters them.
#include "bar_writer.h"
#include "instruments.h"

namespace assetgen {

// XM effects the parts use.
inline constexpr uint8_t kFxPortamentoUp = 0x1;
inline constexpr uint8_t kFxTonePortamento = 0x3;
inline constexpr uint8_t kFxSetPanning = 0x8;

inline uint8_t xmNote(int midi) { return static_cast<uint8_t>(midi - 11); }  // middle C (60) is C-4 (49)
inline uint8_t xmVolume(int v) { return static_cast<uint8_t>(0x10 + (v < 0 ? 0 : (v > 64 ? 64 : v))); }

class BarWriter {
public:
    explicit BarWriter(XmPattern& p) : pattern(p) {}
    void note(int row, Channel ch, int midi, Instrument ins, int volume) {
        XmCell& c = pattern.at(row, ch);
        c.note = xmNote(midi);
        c.instrument = ins;
        c.volume = xmVolume(volume);
    }
    // A new pitch for the sounding note: no instrument number, so neither
    // the sample nor the volume envelope starts again.
    void glide(int row, Channel ch, int midi, uint8_t speed) {
        pattern.at(row, ch).note = xmNote(midi);
        effect(row, ch, kFxTonePortamento, speed);
    }
    void drum(int row, Channel ch, Instrument ins, int volume) { note(row, ch, kDrumNote, ins, volume); }
    void keyOff(int row, Channel ch) { pattern.at(row, ch).note = kXmKeyOff; }
    void volume(int row, Channel ch, int v) { pattern.at(row, ch).volume = xmVolume(v); }
    void effect(int row, Channel ch, uint8_t fx, uint8_t param) {
        pattern.at(row, ch).effect = fx;
        pattern.at(row, ch).param = param;
    }

private:
    XmPattern& pattern;
};

// The parts, each writing its channels of the bar.
void writeDrums(BarWriter& w, const BarPlan& bar);
void writeBass(BarWriter& w, const BarPlan& bar, BarContext context);
void writeArp(BarWriter& w, const BarPlan& bar);
void writePad(BarWriter& w, const BarPlan& bar, BarContext context);
void writeLeadAndEcho(BarWriter& w, const BarPlan& bar, BarContext context);
void writeFx(BarWriter& w, const BarPlan& bar, BarContext context);

}  // namespace assetgen
