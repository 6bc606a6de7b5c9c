#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "det_math.h"
#include "tone_designs.h"

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

// The tuning that plays a cycle of `cycleFrames` frames at the pitch of the note.
Tuning toneTuning(int cycleFrames) {
    const double steps = 1536.0 * log2Det(cycleFrames * midiHz(60) / 8363.0);
    const int rounded = static_cast<int>(std::floor(steps + 0.5));
    const int whole = static_cast<int>(std::floor(rounded / 128.0));
    return {static_cast<int8_t>(whole), static_cast<int8_t>(rounded - 128 * whole)};
}

XmSample sampleOf(const char* name, std::vector<int16_t> frames, Tuning tuning, uint8_t volume,
                  uint8_t panning) {
    XmSample s;
    s.name = name;
    s.frames = std::move(frames);
    s.volume = volume;
    s.panning = panning;
    s.relativeNote = tuning.relativeNote;
    s.finetune = tuning.finetune;
    return s;
}

XmInstrument oneShot(const char* name, const Signal& sound, Tuning tuning, uint8_t volume, uint8_t panning) {
    XmInstrument ins;
    ins.name = name;
    ins.samples.push_back(sampleOf(name, toPcm16(sound, 0.92), tuning, volume, panning));
    return ins;
}

// One sample per octave, each recorded at the octave's middle note and
// played from six semitones under it to five above; the key map picks it.
// `level` scales the loudest sample's peak; `volume` is the samples'
// default volume, which notes without a volume of their own play at.
XmInstrument tonal(const char* name, const ToneDesign& design, std::initializer_list<int> references,
                   double level, uint8_t volume, uint8_t panning) {
    std::vector<ToneSample> tones;
    double largest = 0.0;
    for (int reference : references) {
        tones.push_back(renderTone(design, reference, reference + 5));
        for (double v : tones.back().frames) largest = std::fmax(largest, std::fabs(v));
    }
    XmInstrument ins;
    ins.name = name;
    for (size_t r = 0; r < tones.size(); ++r) {
        // One scale for all registers, so a melody keeps its level across them.
        Signal scaled = tones[r].frames;
        scaled.push_back(largest);
        std::vector<int16_t> pcm = toPcm16(scaled, 0.92 * level);
        pcm.pop_back();
        XmSample s = sampleOf(name, std::move(pcm), toneTuning(tones[r].cycleFrames), volume, panning);
        s.loopStart = static_cast<uint32_t>(tones[r].loopStart);
        s.loopLength = static_cast<uint32_t>(tones[r].loopLength);
        ins.samples.push_back(std::move(s));
    }
    const int* firstReference = references.begin();
    for (int key = 0; key < kXmKeys; ++key) {
        const int midi = key + 12;  // key 0 is C-0
        int chosen = 0;
        for (size_t r = 1; r < references.size(); ++r)
            if (midi >= firstReference[r] - 6) chosen = static_cast<int>(r);
        ins.keymap[static_cast<size_t>(key)] = static_cast<uint8_t>(chosen);
    }
    return ins;
}

}  // namespace

// Panning: kick, bass and pad in the middle (the pad's voices and the
// arpeggio are panned by the patterns), the kit spread as seen from the
// audience, the lead left of centre and its echo on the right.
// Envelope ticks last 2.5 / 120 s (about 21 ms) at the song's tempo.
std::vector<XmInstrument> makeInstruments() {
    std::vector<XmInstrument> list;
    list.push_back(oneShot("kick", kickDrum(), kDrumRateTuning, 64, 128));
    list.push_back(oneShot("snare", snareDrum(), kDrumRateTuning, 64, 118));
    list.push_back(oneShot("closed hat", closedHat(), kCymbalRateTuning, 48, 184));
    list.push_back(oneShot("open hat", openHat(), kCymbalRateTuning, 40, 172));
    list.push_back(oneShot("crash", crashCymbal(), kDrumRateTuning, 36, 72));
    // The bass stops within three ticks of a key off: the kick gets the room.
    XmInstrument bass = tonal("bass", bassDesign(), {36, 48, 60}, 1.0, 52, 128);
    bass.volumeEnvelope = {{{0, 64}, {6, 50}, {9, 0}}, 1};
    bass.fadeout = 4096;
    list.push_back(bass);
    XmInstrument lead = tonal("lead", leadDesign(), {72, 84}, 1.0, 44, 100);
    lead.volumeEnvelope = {{{0, 0}, {2, 64}, {14, 60}, {40, 58}}, 3};
    lead.fadeout = 2400;
    lead.vibrato = {0, 64, 3, 10};
    list.push_back(lead);
    XmInstrument pluck = tonal("pluck", pluckDesign(), {60, 72}, 0.77, 36, 128);
    pluck.fadeout = 8000;
    list.push_back(pluck);
    XmInstrument pad = tonal("pad", padDesign(), {60, 72}, 0.53, 26, 128);
    pad.volumeEnvelope = {{{0, 0}, {28, 64}, {64, 60}}, 2};
    pad.fadeout = 700;
    list.push_back(pad);
    XmInstrument echo = tonal("lead echo", echoDesign(), {72, 84}, 1.0, 38, 200);
    echo.volumeEnvelope = {{{0, 0}, {2, 64}, {14, 52}, {40, 48}}, 3};
    echo.fadeout = 1600;
    echo.vibrato = lead.vibrato;
    // The echo drifts from its side towards the middle and back.
    echo.panningEnvelope = {{{0, 32}, {24, 22}, {48, 32}}, 2};
    list.push_back(echo);
    return list;
}

}  // namespace assetgen
