// The frame loop itself: what it asks of the clock and the screen in each
// phase, and the frame clock of the capture and the check mode.
#include <gtest/gtest.h>

#include <vector>

#include "driver/run_loop.h"
#include "scene/frame_clock.h"

namespace {

class ScriptedClock : public MusicClock {
public:
    explicit ScriptedClock(std::vector<int32_t> readings) : readings(std::move(readings)) {}
    int32_t read() override { return readings.at(reads++); }
    void setVolume(int32_t volume) override { volumes.push_back(volume); }
    std::vector<int32_t> readings;
    size_t reads = 0;
    std::vector<int32_t> volumes;
};

class CountingScreen : public Screen {
public:
    bool present(const Image&) override { return ++presents != stopAt; }
    int32_t presents = 0;
    int32_t stopAt = 0;
};

class FrameLoop : public testing::Test {
protected:
    void SetUp() override { show.setUp(); }
    Show show;
};

TEST_F(FrameLoop, PresentsEachFrameAndHandsOnTheFadeVolumesFirst) {
    ScriptedClock clock({0, 90000, 150000, 152000, 159999, 160000});
    CountingScreen screen;
    EXPECT_EQ(runFrames(show, clock, screen), FrameResult::TimelineOver);
    EXPECT_EQ(screen.presents, 6);
    EXPECT_EQ(clock.volumes, (std::vector<int32_t>{204, 1, 0}));
    EXPECT_EQ(clock.reads, 6u) << "the clock is not read once the fade has ended";
    EXPECT_EQ(runFrame(show, clock, screen), FrameResult::TimelineOver);
    EXPECT_EQ(clock.reads, 6u);
}

TEST_F(FrameLoop, AScreenThatRefusesAFrameStopsTheLoop) {
    ScriptedClock clock({0, 1000, 2000});
    CountingScreen screen;
    screen.stopAt = 2;
    EXPECT_EQ(runFrames(show, clock, screen), FrameResult::Stopped);
    EXPECT_EQ(clock.reads, 2u);
}

TEST_F(FrameLoop, TheFrameClockReadsEachFramesTimeOnce) {
    FrameClock clock(1);
    CountingScreen screen;
    EXPECT_EQ(runFrames(show, clock, screen), FrameResult::TimelineOver);
    EXPECT_EQ(screen.presents, makeFrameSchedule(1).totalFrames);  // 0 .. 160000 ms at 1 fps
    EXPECT_EQ(clock.framesRead(), 161);
    EXPECT_EQ(show.musicTime(), 160000);
}

}  // namespace
