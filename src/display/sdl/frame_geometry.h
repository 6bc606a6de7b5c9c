#pragma once
// Placement arithmetic of the display back ends: pure integer logic.
#include <cstdint>

struct FrameBox {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// Offset that centres an extent of windowSize inside screenSize: half the
// difference, rounded towards minus infinity (negative when the window is larger).
int32_t centredOffset(int32_t screenSize, int32_t windowSize);

// The largest box of the frame's aspect ratio inside an area, centred in it;
// the rest of the area stays for the black bars.
FrameBox fitFrameInArea(int32_t areaWidth, int32_t areaHeight, int32_t frameWidth, int32_t frameHeight);
