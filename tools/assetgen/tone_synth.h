#pragma once
// Pitched instrument samples made by adding harmonics whose amplitudes move
// over the note: a filter that closes after the onset, a pulse width or a
// cutoff that swings through the loop, detuned voices beside the main one.
// Each sample serves one register and holds only the harmonics that stay
// below the output's Nyquist frequency on the highest note it plays.
#include <vector>

#include "synth.h"

namespace assetgen {

// What the harmonics hear at one moment of the note.
struct ToneState {
    double cutoff = 0.0;  // Hz
    double width = 0.5;   // pulse width, 0..1
    double level = 1.0;   // the whole note's amplitude
};

// A voice beside the main one: `cycleOffset` more cycles over the loop
// (so the loop still joins seamlessly), at `gain`, starting at `phase` turns.
struct ToneVoice {
    int cycleOffset = 0;
    double gain = 1.0;
    double phase = 0.0;
};

struct ToneDesign {
    int rate = 44100;            // recording rate the sample aims at
    double attackSeconds = 0.2;  // the onset, played once before the loop
    double loopSeconds = 0.0;    // about this long; 0: a one-shot sample
    std::vector<ToneVoice> voices = {{}};
    // Harmonic k starts k (k - 1) x `phaseSpread` turns late: spread phases
    // keep the wave's peaks low, so the same peak level carries more sound.
    double phaseSpread = 1.0 / 128.0;
    // The state `seconds` into the note (held at the onset's end during the
    // loop) and `lfo` turns through the loop.
    ToneState (*state)(double seconds, double lfo) = nullptr;
    // The amplitude of harmonic `k`, `hz` its frequency.
    double (*harmonic)(const ToneState& state, int k, double hz) = nullptr;
};

struct ToneSample {
    Signal frames;
    int loopStart = 0, loopLength = 0;  // in frames; length 0: no loop
    int cycleFrames = 0;                // frames per cycle of the main voice
};

// Frequency of a MIDI note (69 = A4 = 440 Hz), computed the same on every machine.
double midiHz(int note);

// The sample for notes up to `highestNote`, recorded at `referenceNote`.
ToneSample renderTone(const ToneDesign& design, int referenceNote, int highestNote);

}  // namespace assetgen
