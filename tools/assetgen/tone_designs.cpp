#include "tone_designs.h"

#include <cmath>

#include "det_math.h"

namespace assetgen {

namespace {

// A two-pole low-pass's magnitude at `hz`.
double lowPass(double hz, double cutoff) {
    const double r = hz / cutoff;
    return 1.0 / std::sqrt(1.0 + r * r * r * r);
}

// A resonance around `centre`, `width` Hz wide: 1 far from it, 1 + gain on it.
double bump(double hz, double centre, double width, double gain) {
    const double r = (hz - centre) / width;
    return 1.0 + gain / (1.0 + r * r);
}

// Harmonic k of a pulse wave of the given width (0.5: a square, no even harmonics).
double pulse(int k, double width) { return sineTurns(0.5 * k * width) / k; }

// 1 at the note's start, falling to 0 at `seconds` along a square curve.
double onset(double now, double seconds) {
    const double left = clampUnit(1.0 - now / seconds);
    return left * left;
}

// The lead: a saw and a pulse whose width swings through the loop, a
// resonance around 3 kHz like a singer's, bright at the onset and settling.
ToneState leadState(double seconds, double lfo) {
    return {4000.0 * (1.0 + 2.0 * onset(seconds, 0.30)), 0.5 + 0.16 * sineTurns(lfo), 1.0};
}
double leadHarmonic(const ToneState& s, int k, double hz) {
    const double body = k == 1 ? 0.6 : 1.0;  // a lighter fundamental: the lead sits above the pad
    return body * (0.5 / k + pulse(k, s.width)) * lowPass(hz, s.cutoff) * bump(hz, 3000.0, 1500.0, 2.5);
}

// The echo: the same line as a tape delay returns it, its top gone, its
// pulse narrow at the onset and opening towards a square.
ToneState echoState(double seconds, double lfo) {
    const double start = onset(seconds, 0.4);
    return {700.0 * (1.0 + 2.0 * start), 0.5 - 0.25 * start + 0.08 * sineTurns(lfo), 1.0};
}
double echoHarmonic(const ToneState& s, int k, double hz) {
    return (0.5 / k + pulse(k, s.width)) * lowPass(hz, s.cutoff);
}

// The pluck: a string-like note whose top dies away faster than its body.
constexpr double kPluckSeconds = 0.55;
ToneState pluckState(double seconds, double) {
    const double tail = clampUnit((kPluckSeconds - seconds) / 0.06);
    return {400.0 + 5500.0 * exp2Det(-seconds * 16.0), 0.5, exp2Det(-seconds * 5.0) * tail};
}
double pluckHarmonic(const ToneState& s, int k, double hz) {
    return (1.0 / k + (k == 2 ? 0.25 : 0.0)) * lowPass(hz, s.cutoff);
}

// The pad: three detuned saws under a cutoff that breathes through the loop.
ToneState padState(double seconds, double lfo) {
    return {700.0 * (1.0 + 0.55 * sineTurns(lfo) - 0.3 * onset(seconds, 0.35)), 0.5, 1.0};
}
double padHarmonic(const ToneState& s, int k, double hz) { return lowPass(hz, s.cutoff) / k; }

// The bass: a saw and a pulse, the pulse opening and the filter closing
// after the onset, then the filter moving a little.
ToneState bassState(double seconds, double lfo) {
    const double start = onset(seconds, 0.4);
    return {280.0 * (1.0 + 8.0 * start) * (1.0 + 0.25 * sineTurns(lfo)), 0.45 - 0.3 * start, 1.0};
}
double bassHarmonic(const ToneState& s, int k, double hz) {
    return (0.6 / k + pulse(k, s.width)) * lowPass(hz, s.cutoff);
}

}  // namespace

ToneDesign leadDesign() {
    ToneDesign d;
    d.rate = 44100;
    d.attackSeconds = 0.35;
    d.loopSeconds = 0.6;
    d.voices = {{0, 1.0, 0.0}, {1, 0.45, 0.25}};
    d.state = leadState;
    d.harmonic = leadHarmonic;
    return d;
}

ToneDesign echoDesign() {
    ToneDesign d = leadDesign();
    d.rate = 16000;
    d.voices = {{0, 1.0, 0.0}, {-1, 0.5, 0.25}};
    d.state = echoState;
    d.harmonic = echoHarmonic;
    return d;
}

ToneDesign pluckDesign() {
    ToneDesign d;
    d.rate = 32000;
    d.attackSeconds = kPluckSeconds;
    d.state = pluckState;
    d.harmonic = pluckHarmonic;
    return d;
}

ToneDesign padDesign() {
    ToneDesign d;
    d.rate = 24000;
    d.attackSeconds = 0.35;
    d.loopSeconds = 0.9;
    // The detuned voices start a quarter turn ahead of the middle one: their
    // sum stays at right angles to it, so the pad shimmers instead of beating.
    d.voices = {{0, 1.0, 0.0}, {1, 0.5, 0.25}, {-1, 0.5, 0.25}};
    d.state = padState;
    d.harmonic = padHarmonic;
    return d;
}

ToneDesign bassDesign() {
    ToneDesign d;
    d.rate = 16000;
    d.attackSeconds = 0.2;
    d.loopSeconds = 0.5;
    d.state = bassState;
    d.harmonic = bassHarmonic;
    return d;
}

}  // namespace assetgen
