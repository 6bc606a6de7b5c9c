#include "tone_synth.h"

#include <cstddef>
#include <cstdint>

#include "det_math.h"

namespace assetgen {

namespace {

// No harmonic may sound above this on the output, nor above this share of
// the sample's own rate: the resampler then has nothing to fold back, and
// the images it leaves above the sample's Nyquist frequency lie far enough
// above the harmonics for its short filter to remove them.
constexpr double kHighestOutputHz = 18000.0;
constexpr double kHighestShareOfRate = 0.35;

struct Harmonic {
    int64_t cyclesPerLoop;
    double phase;
    double gain;
    int k;
    double hz;
};

std::vector<Harmonic> harmonicsOf(const ToneDesign& d, double hz, int loopCycles, int cycleFrames,
                                  double topRatio) {
    std::vector<Harmonic> list;
    const double rate = hz * cycleFrames;
    for (const ToneVoice& v : d.voices) {
        const double voiceHz = hz * (loopCycles + v.cycleOffset) / loopCycles;
        for (int k = 1;; ++k) {
            const double at = voiceHz * k;
            if (at * topRatio >= kHighestOutputHz || at >= kHighestShareOfRate * rate) break;
            const double phase = v.phase - d.phaseSpread * k * (k - 1);
            list.push_back({static_cast<int64_t>(k) * (loopCycles + v.cycleOffset), phase, v.gain, k, at});
        }
    }
    return list;
}

}  // namespace

double midiHz(int note) { return 440.0 * exp2Det((note - 69) / 12.0); }

ToneSample renderTone(const ToneDesign& d, int referenceNote, int highestNote) {
    const double hz = midiHz(referenceNote);
    ToneSample out;
    out.cycleFrames = static_cast<int>(d.rate / hz + 0.5);
    const int loopCycles = d.loopSeconds > 0.0 ? static_cast<int>(d.loopSeconds * hz + 0.5) : 1;
    const int64_t loopFrames = static_cast<int64_t>(loopCycles) * out.cycleFrames;
    const double rate = hz * out.cycleFrames;
    const int attackFrames = static_cast<int>(d.attackSeconds * rate + 0.5);
    const std::vector<Harmonic> harmonics =
        harmonicsOf(d, hz, loopCycles, out.cycleFrames, exp2Det((highestNote - referenceNote) / 12.0));
    const int64_t total = attackFrames + (d.loopSeconds > 0.0 ? loopFrames : 0);
    out.frames.assign(static_cast<size_t>(total), 0.0);
    for (int64_t i = 0; i < total; ++i) {
        const double seconds = static_cast<double>(i < attackFrames ? i : attackFrames) / rate;
        const int64_t intoLoop = ((i - attackFrames) % loopFrames + loopFrames) % loopFrames;
        const ToneState state =
            d.state(seconds, static_cast<double>(intoLoop) / static_cast<double>(loopFrames));
        double sum = 0.0;
        for (const Harmonic& h : harmonics) {
            const double amplitude = d.harmonic(state, h.k, h.hz);
            if (amplitude == 0.0) continue;
            const double turns = static_cast<double>(h.cyclesPerLoop * i % loopFrames) / loopFrames;
            sum += h.gain * amplitude * sineTurns(turns + h.phase);
        }
        out.frames[static_cast<size_t>(i)] = sum * state.level;
    }
    if (d.loopSeconds > 0.0) {
        out.loopStart = attackFrames;
        out.loopLength = static_cast<int>(loopFrames);
    }
    return out;
}

}  // namespace assetgen
