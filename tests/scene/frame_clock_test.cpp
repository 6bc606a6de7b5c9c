// The frame clock and the timeline it steps: the schedule of frames against
// a replay of the driver's two loops, and the list of frame numbers that
// the capture and the page's check mode take.
#include <gtest/gtest.h>

#include "scene/frame_clock.h"
#include "scene/frame_list.h"

namespace {

struct Phases {
    int32_t showFrames = 0;
    int32_t totalFrames = 0;
};

// The driver's loops with the clock advancing one frame time per frame.
Phases driverLoopPhases(int32_t fps) {
    int32_t time = 0;
    int32_t frame = 0;
    while (time < 150000) time = frameReading(frame++, fps);
    const int32_t showFrames = frame;
    while (time < 160000) time = frameReading(frame++, fps);
    return {showFrames, frame};
}

TEST(FrameSchedule, PhasesAtTheNamedRates) {
    struct Expected {
        int32_t fps, showFrames, totalFrames;
    };
    // 50 fps: frames 0..7500 show (frame 7500 reads exactly 150000), 7501..8000 fade.
    for (const Expected e : {Expected{1, 151, 161}, Expected{50, 7501, 8001}, Expected{60, 9001, 9601},
                             Expected{1000, 150001, 160001}}) {
        const FrameSchedule s = makeFrameSchedule(e.fps);
        EXPECT_EQ(s.showFrames, e.showFrames) << e.fps << " fps";
        EXPECT_EQ(s.totalFrames, e.totalFrames) << e.fps << " fps";
        EXPECT_EQ(captureLengthMs(s), 160000) << e.fps << " fps";
    }
}

TEST(FrameSchedule, MatchesTheDriverLoopsAtEveryRate) {
    for (int32_t fps = kMinFrameRate; fps <= kMaxFrameRate; ++fps) {
        const FrameSchedule s = makeFrameSchedule(fps);
        const Phases loop = driverLoopPhases(fps);
        ASSERT_EQ(s.showFrames, loop.showFrames) << fps << " fps";
        ASSERT_EQ(s.totalFrames, loop.totalFrames) << fps << " fps";
        // The last show frame is the first to reach 150000; the one before is below.
        ASSERT_GE(frameReading(s.showFrames - 1, fps), 150000) << fps << " fps";
        ASSERT_LT(frameReading(s.showFrames - 2, fps), 150000) << fps << " fps";
    }
}

TEST(FrameSchedule, ReadingsTruncate) {
    EXPECT_EQ(frameReading(0, 60), 0);
    EXPECT_EQ(frameReading(1, 60), 16);
    EXPECT_EQ(frameReading(3, 60), 50);
    EXPECT_EQ(frameReading(9001, 60), 150016);
    EXPECT_EQ(frameReading(7, 7), 1000);
    // 7 fps: the capture runs past 160000 to the first reading at or above it.
    EXPECT_EQ(captureLengthMs(makeFrameSchedule(7)), 160000);
    EXPECT_EQ(captureLengthMs(makeFrameSchedule(3)), 160000);
    EXPECT_EQ(captureLengthMs(makeFrameSchedule(11)), 160000);
    EXPECT_EQ(captureLengthMs(makeFrameSchedule(640)), 160000);
}

TEST(FrameList, SortedWithoutRepeats) {
    std::vector<int32_t> frames;
    ASSERT_TRUE(parseFrameList("8000,3,3,0", frames));
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 3, 8000}));
    ASSERT_TRUE(parseFrameList("2147483647", frames));
    EXPECT_EQ(frames, (std::vector<int32_t>{2147483647}));
}

TEST(FrameList, RefusesAnythingButDigitsAndCommas) {
    std::vector<int32_t> frames;
    for (const char* text : {"", ",", "1,", ",1", "1,,2", "-1", "+1", " 1", "1 ", "1e3", "0x10", "2147483648",
                             "99999999999", "1;2"}) {
        EXPECT_FALSE(parseFrameList(text, frames)) << text;
    }
}

TEST(Timeline, FadeVolumesComeFromTheReadingOfTheFadeFrame) {
    Timeline timeline;
    EXPECT_EQ(timeline.next(0, 149999).phase, TimelinePhase::Show);
    EXPECT_EQ(timeline.next(149999, 150000).phase, TimelinePhase::Show);  // decided by the reading before
    const TimelineStep fade = timeline.next(150000, 155000);
    EXPECT_EQ(fade.phase, TimelinePhase::Fade);
    EXPECT_EQ(fade.volume, 128);
    EXPECT_EQ(timeline.next(155000, 100).volume, fadeVolume(100));  // a fade once begun stays a fade
    EXPECT_FALSE(timeline.finished(100));
    EXPECT_EQ(timeline.next(100, 161000).volume, -25);
    EXPECT_TRUE(timeline.finished(161000));
    EXPECT_EQ(timeline.next(161000, 162000).phase, TimelinePhase::Over);
}

}  // namespace
