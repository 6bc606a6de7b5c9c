// The page's check mode against the frame files of demo_capture, its
// request parsing, and the frame in canvas byte order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_test_support.h"
#include "check_run.h"
#include "rgba_frame.h"
#include "scene/show.h"
#include "sha256.h"

namespace {

CheckRequest parsed(const std::string& fragment) {
    CheckRequest request;
    std::string error;
    EXPECT_TRUE(parseCheckRequest(fragment, request, error)) << fragment << ": " << error;
    return request;
}

TEST(WebCheckRequest, ReadsFramesAndRateInAnyOrderPercentDecoded) {
    const CheckRequest a = parsed("#frames=0,2600,6000&fps=50");
    EXPECT_EQ(a.fps, 50);
    EXPECT_EQ(a.frames, (std::vector<int32_t>{0, 2600, 6000}));
    const CheckRequest b = parsed("play&fps=1000&frames=7");
    EXPECT_EQ(b.fps, 1000);
    EXPECT_EQ(b.frames, (std::vector<int32_t>{7}));
    const CheckRequest c = parsed("fr%61mes=0%2C1%2c2&fps=%35%30");
    EXPECT_EQ(c.fps, 50);
    EXPECT_EQ(c.frames, (std::vector<int32_t>{0, 1, 2}));
}

TEST(WebCheckRequest, SortsFramesAndDropsRepeats) {
    EXPECT_EQ(parsed("frames=6000,0,2600,0&fps=50").frames, (std::vector<int32_t>{0, 2600, 6000}));
}

TEST(WebCheckRequest, RejectsWhatTheCaptureToolWouldNotTake) {
    for (const char* fragment :
         {"", "frames=0", "fps=50", "frames=0&fps=0", "frames=0&fps=1001", "frames=0&fps=5x",
          "frames=&fps=50", "frames=0,,5&fps=50", "frames=0,&fps=50", "frames=-1&fps=50", "frames=1e3&fps=50",
          "frames=99999999999&fps=50", "frames=0&fps=",
          // past the end of the timeline: 161 frames at 1 fps, 8001 at 50 fps
          "frames=161&fps=1", "frames=0,8001&fps=50", "frames=9000&fps=50",
          // a key given twice
          "frames=0&frames=1&fps=50", "fps=50&frames=0&fps=50",
          // unknown or empty parts, bad escapes
          "frames=0&fps=50&junk", "frames=0&&fps=50", "frames=0&fps=50&", "&frames=0&fps=50",
          "frames=0&fps=50&x=1", "frames=0&fps=50&play=1", "frames=0%2&fps=50", "frames=0&fps=5%",
          "frames=0%zz&fps=50"}) {
        CheckRequest request;
        std::string error;
        EXPECT_FALSE(parseCheckRequest(fragment, request, error)) << fragment;
        EXPECT_FALSE(error.empty()) << fragment;
    }
}

// At 1 fps frame k reads k seconds: 0 is the first show frame, 41 jitters,
// 151 and 160 fade.
TEST(WebCheckRun, HashesTheBytesDemoCaptureWritesForTheSameFrames) {
    const std::vector<int32_t> chosen = {0, 41, 151, 160};
    ScratchDir scratch;
    const ChildResult run =
        runCapture("--fps 1 --raw --frames " + (scratch / "raw") + " --only 0,41,151,160");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string expected;
    for (int32_t frame : chosen) {
        const std::vector<uint8_t> bytes = readBytes(scratch / ("raw/" + frameFileName(frame, true)));
        ASSERT_EQ(bytes.size(), size_t{640 * 480 * 4});
        expected += std::to_string(frame) + " " + sha256Hex(bytes) + "\n";
    }

    Show show;
    show.loadImages();
    show.setUp();
    CheckRun check(show, parsed("frames=160,0,41,151&fps=1"));
    // Small slices, as the page runs it, give the same frames as one go.
    int32_t slices = 0;
    while (!check.advance(7)) ++slices;
    EXPECT_EQ(slices, 160 / 7);
    EXPECT_EQ(check.framesComposed(), 161);  // frames 0 to 160
    EXPECT_EQ(check.report(), expected);
}

TEST(WebCheckRun, StopsAtTheLastChosenFrame) {
    Show show;
    show.loadImages();
    show.setUp();
    CheckRun check(show, parsed("frames=3&fps=50"));
    EXPECT_FALSE(check.advance(3));
    EXPECT_NE(check.report().find("3 pending"), std::string::npos);
    EXPECT_TRUE(check.advance(100));
    EXPECT_EQ(check.framesComposed(), 4);
    EXPECT_EQ(check.report(), "3 " + frameSha256(show.frame()) + "\n");
}

TEST(WebFrame, HashCoversEveryPixelWordInLittleEndianOrder) {
    Image a(2, 1);
    a.getPixels()[0] = 0x00112233;
    a.getPixels()[1] = 0xFF000000;
    EXPECT_EQ(frameSha256(a), sha256Hex({0x33, 0x22, 0x11, 0x00, 0x00, 0x00, 0x00, 0xFF}));
}

TEST(WebFrame, RgbaIsRedGreenBlueOpaqueWhateverTheTopByte) {
    Image frame(3, 1);
    frame.getPixels()[0] = 0x00102030;
    frame.getPixels()[1] = 0xFFA0B0C0;  // the wireframe's top byte
    frame.getPixels()[2] = 0x00000000;
    std::vector<uint8_t> rgba(12, 0x55);
    convertToRgba(frame, rgba.data());
    EXPECT_EQ(rgba, (std::vector<uint8_t>{0x10, 0x20, 0x30, 0xFF, 0xA0, 0xB0, 0xC0, 0xFF, 0, 0, 0, 0xFF}));
}

}  // namespace
