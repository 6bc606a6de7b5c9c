#pragma once
// Light flares: a white-hot core in a warm halo that falls to exactly 0
// before the picture's edges, so the flare adds no visible square.
#include "rgb_image.h"

namespace assetgen {

// A size x size flare centred on pixel (size / 2, size / 2).
RgbImage makeFlare(int size);

}  // namespace assetgen
