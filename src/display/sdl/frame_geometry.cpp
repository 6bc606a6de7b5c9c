#include "display/sdl/frame_geometry.h"

int32_t centredOffset(int32_t screenSize, int32_t windowSize) {
    // >> on a negative signed value is an arithmetic shift (C++20).
    return (screenSize - windowSize) >> 1;
}

FrameBox fitFrameInArea(int32_t areaWidth, int32_t areaHeight, int32_t frameWidth, int32_t frameHeight) {
    FrameBox box{0, 0, areaWidth, areaHeight};
    if (frameWidth <= 0 || frameHeight <= 0) return box;
    // Compare the aspect ratios without division; 64-bit products cannot overflow.
    const int64_t widthByHeight = int64_t{areaWidth} * frameHeight;
    const int64_t heightByWidth = int64_t{areaHeight} * frameWidth;
    if (widthByHeight > heightByWidth) {
        box.width = static_cast<int32_t>(heightByWidth / frameHeight);  // bars left and right
    } else {
        box.height = static_cast<int32_t>(widthByHeight / frameWidth);  // bars above and below
    }
    box.x = centredOffset(areaWidth, box.width);
    box.y = centredOffset(areaHeight, box.height);
    return box;
}
