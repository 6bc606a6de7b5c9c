#pragma once
// The backdrop "welt": a planet seen from space over a star field, with
// continents and oceans from fractal noise, clouds, a lit limb and a glow
// of atmosphere, and a small moon.
#include "rgb_image.h"

namespace assetgen {

inline constexpr int kBackdropWidth = 640;
inline constexpr int kBackdropHeight = 480;

RgbImage makeBackdrop();

}  // namespace assetgen
