#pragma once
// Synthesised instrument sounds: drums from sine sweeps and filtered noise,
// tones as band-limited loops built by adding harmonics.
#include <cstdint>
#include <vector>

namespace assetgen {

using Signal = std::vector<double>;

inline constexpr int kDrumRate = 22050;
inline constexpr int kCymbalRate = 44100;
// Tone loops repeat every kToneCycle frames. The pad's loop holds
// kPadLoopCycles cycles of kPadCycle frames, and beside them detuned voices
// with one cycle more and one less: +-1/192 of the pitch, 9 cents.
inline constexpr int kToneCycle = 256;
inline constexpr int kPadCycle = 64;
inline constexpr int kPadLoopCycles = 192;

Signal kickDrum();
Signal snareDrum();
Signal closedHat();
Signal openHat();
Signal crashCymbal();

Signal bassCycle();
Signal leadCycle();
Signal echoCycle();
Signal pluckCycle();
Signal padLoop();

// Scales the signal so that its largest magnitude is `peak` of full scale.
std::vector<int16_t> toPcm16(const Signal& s, double peak);

}  // namespace assetgen
