#include "raster/image.h"

Image screen(kScreenWidth, kScreenHeight);
