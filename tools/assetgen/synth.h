#pragma once
// Synthesised instrument sounds: drums from sine sweeps and filtered noise,
// tones as band-limited loops built by adding harmonics.
#include <cstdint>
#include <vector>

namespace assetgen {

using Signal = std::vector<double>;

inline constexpr int kDrumRate = 22050;
inline constexpr int kCymbalRate = 44100;
// Tone loops repeat every kToneCycle frames (the pad's loop holds several
// slightly detuned cycles of that length).
inline constexpr int kToneCycle = 256;
inline constexpr int kPadLoopCycles = 64;

Signal kickDrum();
Signal snareDrum();
Signal closedHat();
Signal openHat();
Signal crashCymbal();

Signal bassCycle();
Signal leadCycle();
Signal pluckCycle();
Signal padLoop();

// Scales the signal so that its largest magnitude is `peak` of full scale.
std::vector<int16_t> toPcm16(const Signal& s, double peak);

}  // namespace assetgen
