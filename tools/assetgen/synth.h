#pragma once
// Synthesised drum sounds: sine sweeps and filtered noise.
#include <cstdint>
#include <vector>

namespace assetgen {

using Signal = std::vector<double>;

inline constexpr int kDrumRate = 22050;
inline constexpr int kCymbalRate = 44100;
Signal kickDrum();
Signal snareDrum();
Signal closedHat();
Signal openHat();
Signal crashCymbal();

// Scales the signal so that its largest magnitude is `peak` of full scale.
std::vector<int16_t> toPcm16(const Signal& s, double peak);

}  // namespace assetgen
