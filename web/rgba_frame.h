#pragma once
// The frame in the byte order of a canvas's ImageData: red, green, blue and
// an opaque alpha per pixel. The top byte of a pixel word is not shown.
#include <cstdint>

#include "raster/image.h"

void convertToRgba(const Image& frame, uint8_t* rgba);
