// Placement arithmetic, frame pacing and the choice of video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include "display/sdl/frame_geometry.h"
#include "display/sdl/frame_pacer.h"
#include "display/sdl/frame_texture.h"
#include "display/sdl/video_start.h"

TEST(CentredOffset, HalvesTheDifferenceRoundingTowardsMinusInfinity) {
    EXPECT_EQ(centredOffset(1024, 648), 188);
    EXPECT_EQ(centredOffset(1025, 648), 188);
    // A window larger than the screen starts left of it: -1 >> 1 is -1, not 0.
    EXPECT_EQ(centredOffset(1024, 1025), -1);
    EXPECT_EQ(centredOffset(1024, 2592), -784);
    EXPECT_EQ(centredOffset(768, 2028), -630);
}

TEST(FitFrameInArea, KeepsTheAspectRatioBetweenBars) {
    const FrameBox wide = fitFrameInArea(1280, 720, 640, 480);  // bars left and right
    EXPECT_EQ(wide.x, 160);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.width, 960);
    EXPECT_EQ(wide.height, 720);
    const FrameBox tall = fitFrameInArea(1280, 1024, 640, 480);  // bars above and below
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 32);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    const FrameBox exact = fitFrameInArea(640, 480, 640, 480);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
    EXPECT_EQ(exact.width, 640);
    EXPECT_EQ(exact.height, 480);
    // 1366 x 768: the picture is 1024 wide, never wider than the area.
    const FrameBox laptop = fitFrameInArea(1366, 768, 640, 480);
    EXPECT_EQ(laptop.width, 1024);
    EXPECT_EQ(laptop.x, 171);
}

TEST(FramePacer, HoldsPresentsOneRefreshApartWithoutMakingUpForLateFrames) {
    EXPECT_EQ(refreshPeriod(0), refreshPeriod(kFallbackRefreshRate));
    EXPECT_EQ(refreshPeriod(-5), refreshPeriod(60));
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(refreshPeriod(50)).count(), 20000);

    const PacerClock::time_point start{};
    const PacerClock::duration period = refreshPeriod(60);
    // Early: wait for the slot one period after the last.
    EXPECT_EQ(nextFrameSlot(start, start + period / 2, period), start + period);
    // Late: present now; the next slot counts from here, so no burst follows.
    const PacerClock::time_point late = start + period * 3;
    EXPECT_EQ(nextFrameSlot(start, late, period), late);
    EXPECT_EQ(nextFrameSlot(late, late + std::chrono::milliseconds(1), period), late + period);
}

TEST(FramePacer, SleepsUntilTheSlot) {
    FramePacer pacer{};
    startFramePacer(pacer, 100);
    waitForFrameSlot(pacer);  // the first slot is at once
    const PacerClock::time_point before = PacerClock::now();
    waitForFrameSlot(pacer);
    waitForFrameSlot(pacer);
    EXPECT_GE(PacerClock::now() - before, std::chrono::milliseconds(19));
}

TEST(VideoDriver, MemoryOnlyDriversCountOnlyWhenAskedFor) {
    EXPECT_TRUE(videoDriverShowsPicture("x11", nullptr));
    EXPECT_TRUE(videoDriverShowsPicture("wayland", ""));
    EXPECT_FALSE(videoDriverShowsPicture("offscreen", nullptr));
    EXPECT_FALSE(videoDriverShowsPicture("dummy", ""));
    EXPECT_TRUE(videoDriverShowsPicture("offscreen", "offscreen"));
    EXPECT_TRUE(videoDriverShowsPicture("dummy", "dummy"));
    EXPECT_FALSE(videoDriverShowsPicture(nullptr, nullptr));
}

TEST(ConverterForPixelFormat, UsesTheStoredBitCountAndTheMasks) {
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_RGB888), convertRowXrgb32);  // 24 bits used, 32 stored
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_ARGB8888), convertRowXrgb32);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_BGR888), convertRowXbgr32);
    // SDL names 24-bit formats by byte order: RGB24 is red first in memory,
    // which as a little-endian value has red in the low byte.
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_BGR24), convertRowRgb24);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_RGB24), convertRowBgr24);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_RGB565), convertRowRgb565);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_BGR565), convertRowBgr565);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_RGB555), convertRowRgb555);  // reported as 15 bits
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_BGR555), convertRowBgr555);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_INDEX8), nullptr);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_RGB332), nullptr);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_YV12), nullptr);
    EXPECT_EQ(converterForPixelFormat(SDL_PIXELFORMAT_UNKNOWN), nullptr);
}
