#include "instruments.h"

#include <utility>

#include "synth.h"

namespace assetgen {

namespace {

// Relative note and finetune that make middle C play a sample at its
// recording rate: 12 x log2(rate / 8363) semitones, in 1/128 steps.
struct Tuning {
    int8_t relativeNote;
    int8_t finetune;
};
constexpr Tuning kDrumRateTuning = {16, 100};    // 22050 Hz
constexpr Tuning kCymbalRateTuning = {28, 100};  // 44100 Hz
// Tone loops of 256 frames, and the pad's of 64: middle C sounds at middle C.
constexpr Tuning kToneTuning = {36, 2};
constexpr Tuning kPadTuning = {12, 2};

XmInstrument oneShot(const char* name, const Signal& sound, Tuning tuning, uint8_t volume, uint8_t panning) {
    XmInstrument ins;
    ins.name = name;
    ins.sample.name = name;
    ins.sample.frames = toPcm16(sound, 0.92);
    ins.sample.volume = volume;
    ins.sample.panning = panning;
    ins.sample.relativeNote = tuning.relativeNote;
    ins.sample.finetune = tuning.finetune;
    return ins;
}

XmInstrument looped(const char* name, const Signal& loop, uint8_t volume, XmEnvelope envelope,
                    uint16_t fadeout, Tuning tuning = kToneTuning) {
    XmInstrument ins = oneShot(name, loop, tuning, volume, 128);
    ins.sample.loopStart = 0;
    ins.sample.loopLength = static_cast<uint32_t>(loop.size());
    ins.volumeEnvelope = std::move(envelope);
    ins.fadeout = fadeout;
    return ins;
}

}  // namespace

// Panning: kick, bass and pad in the middle (the pad's voices and the
// arpeggio are panned by the patterns), the kit spread as seen from the
// audience, the lead left of centre and its echo on the right.
std::vector<XmInstrument> makeInstruments() {
    std::vector<XmInstrument> list;
    list.push_back(oneShot("kick", kickDrum(), kDrumRateTuning, 64, 128));
    list.push_back(oneShot("snare", snareDrum(), kDrumRateTuning, 50, 118));
    list.push_back(oneShot("closed hat", closedHat(), kCymbalRateTuning, 34, 184));
    list.push_back(oneShot("open hat", openHat(), kCymbalRateTuning, 30, 172));
    list.push_back(oneShot("crash", crashCymbal(), kDrumRateTuning, 36, 72));
    // Envelope ticks last 2.5 / 120 s (about 21 ms) at the song's tempo.
    list.push_back(looped("bass", bassCycle(), 52, {{{0, 64}, {6, 52}, {24, 44}}, 2}, 4096));
    const XmEnvelope leadEnvelope = {{{0, 0}, {2, 64}, {12, 50}, {40, 44}}, 3};
    XmInstrument lead = looped("lead", leadCycle(), 38, leadEnvelope, 2400);
    lead.vibrato = {0, 48, 3, 10};
    lead.sample.panning = 100;
    list.push_back(lead);
    XmInstrument pluck =
        looped("pluck", pluckCycle(), 36, {{{0, 64}, {4, 38}, {16, 16}, {40, 6}, {80, 0}}, -1}, 8000);
    list.push_back(pluck);
    list.push_back(looped("pad", padLoop(), 26, {{{0, 0}, {28, 64}, {64, 54}}, 2}, 700, kPadTuning));
    XmInstrument echo = looped("lead echo", echoCycle(), 38, leadEnvelope, 1600);
    echo.vibrato = lead.vibrato;
    echo.sample.panning = 200;
    list.push_back(echo);
    return list;
}

}  // namespace assetgen
