// The frame schedule against a replay of the driver's two loops, and the
// parsing of the command line into options.
#include <gtest/gtest.h>

#include "capture_options.h"
#include "scene/frame_clock.h"

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

bool parse(std::vector<std::string> args, CaptureOptions& options, std::string& error) {
    args.insert(args.begin(), "demo_capture");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return parseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(CaptureOptions, ReadsEveryOption) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--fps", "50", "--frames", "out", "--raw", "--only", "8000,3,3,0", "--wav", "a.wav",
                       "--video", "v.mp4", "--size", "1280x960"},
                      o, error))
        << error;
    EXPECT_EQ(o.fps, 50);
    EXPECT_EQ(o.framesDir, "out");
    EXPECT_TRUE(o.rawFrames);
    EXPECT_EQ(o.onlyFrames, (std::vector<int32_t>{0, 3, 8000}));
    EXPECT_EQ(o.wavFile, "a.wav");
    EXPECT_EQ(o.videoFile, "v.mp4");
    EXPECT_EQ(o.videoWidth, 1280);
    EXPECT_EQ(o.videoHeight, 960);
}

TEST(CaptureOptions, DefaultsAndTheLastFrameOfTheTimeline) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--frames", "f", "--only", "9600"}, o, error)) << error;
    EXPECT_EQ(o.fps, 60);
    EXPECT_FALSE(o.rawFrames);
    EXPECT_EQ(o.videoWidth, 640);
    EXPECT_EQ(o.videoHeight, 480);
    CaptureOptions past;
    EXPECT_FALSE(parse({"--frames", "f", "--only", "9601"}, past, error));
    // The check uses the frame rate, wherever it stands on the line.
    CaptureOptions later;
    EXPECT_TRUE(parse({"--frames", "f", "--only", "8000", "--fps", "50"}, later, error)) << error;
    CaptureOptions beyond;
    EXPECT_FALSE(parse({"--frames", "f", "--only", "8001", "--fps", "50"}, beyond, error));
}

}  // namespace
