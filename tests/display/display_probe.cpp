// Back-end probe: opens the display like the demo does and presents a fixed
// test pattern ("still") or a colour that changes every frame ("moving") until
// Escape or closing the window ends it, or the given number of seconds passed.
// Prints the chosen converter. Exit codes: 0 Escape/close, 1 no display,
// 2 bad arguments, 3 time is up.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/display.h"
#include "display/sdl/selected_converter.h"
#include "test_pattern.h"

namespace {

const char* converterName(RowConverter converter) {
    struct Named {
        RowConverter converter;
        const char* name;
    };
    const Named names[] = {{convertRowXrgb32, "xrgb32"}, {convertRowXbgr32, "xbgr32"},
                           {convertRowRgb24, "rgb24"},   {convertRowBgr24, "bgr24"},
                           {convertRowRgb565, "rgb565"}, {convertRowBgr565, "bgr565"},
                           {convertRowRgb555, "rgb555"}, {convertRowBgr555, "bgr555"}};
    for (const Named& n : names) {
        if (n.converter == converter) return n.name;
    }
    return "none";
}

void fillPattern(std::vector<uint32_t>& frame) {
    for (int32_t y = 0; y < kPatternHeight; ++y) {
        for (int32_t x = 0; x < kPatternWidth; ++x) frame[y * kPatternWidth + x] = patternPixel(x, y);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const bool moving = std::strcmp(argv[1], "moving") == 0;
    const Uint32 limitMs = static_cast<Uint32>(std::atoi(argv[2])) * 1000u;
    std::vector<uint32_t> frame(kPatternWidth * kPatternHeight);
    fillPattern(frame);
    if (!displayInit("test", kPatternWidth, kPatternHeight)) {
        std::printf("display init failed\n");
        return 1;
    }
    std::printf("converter %s\npresenting\n", converterName(displaySelectedConverter()));
    std::fflush(stdout);
    const Uint32 start = SDL_GetTicks();
    uint32_t count = 0;
    for (; SDL_GetTicks() - start < limitMs; ++count) {
        if (moving) std::fill(frame.begin(), frame.end(), (count * 0x050301u) & 0xFFFFFF);
        // Escape or close: ended at once, as the demo programs end then.
        if (displayPresent(frame.data()) == kDisplayQuit) std::_Exit(0);
    }
    std::printf("time is up after %u presents\n", count);
    return 3;
}
