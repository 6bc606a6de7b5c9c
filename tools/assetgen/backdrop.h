#pragma once
// The backdrop "welt": a planet seen from space over a star field, with
// continents and oceans from fractal noise, clouds, a lit limb and a glow
// of atmosphere, and a small moon.
#include "rgb_image.h"
#include "scene/data_files.h"

namespace assetgen {

inline constexpr int kBackdropWidth = kBackgroundFile.width;
inline constexpr int kBackdropHeight = kBackgroundFile.height;

RgbImage makeBackdrop();

}  // namespace assetgen
