// Frames of the real program against the timeline functions called
// directly, the fade's darkening, and the determinism of captures.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "capture_test_support.h"
#include "raster/image.h"
#include "scene/show.h"

namespace {

using Frame = std::vector<uint32_t>;
using FrameMap = std::map<int32_t, Frame>;

constexpr int32_t kFps = 1;
// At 1 fps frame k reads k seconds: 0 and 40 do not jitter, 41 is the first
// that does, 150 is the last show frame, 151 to 160 are the fade.
const std::set<int32_t> kChosen = {0, 1, 40, 41, 42, 150, 151, 155, 160};
constexpr int32_t kLastShowFrame = 150;

// The demo's start-up and steps, called here directly with the clock
// stepping one frame time per frame, keeping copies of the chosen frames.
FrameMap timelineCalledDirectly(int32_t fps, const std::set<int32_t>& chosen) {
    Show show;
    show.loadImages();
    show.setUp();
    FrameMap frames;
    for (int32_t frame = 0; show.step(frame * 1000 / fps).action != ShowAction::Stop; ++frame) {
        if (chosen.count(frame) != 0) {
            const uint32_t* pixels = show.frame().getPixels();
            frames[frame] = Frame(pixels, pixels + 640 * 480);
        }
    }
    return frames;
}

std::string onlyList(const std::set<int32_t>& frames) {
    std::string list;
    for (int32_t f : frames) list += (list.empty() ? "" : ",") + std::to_string(f);
    return list;
}

class CaptureFrames : public testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new ScratchDir;
        run = new ChildResult(
            runCapture("--fps 1 --frames " + (*scratch / "raw") + " --raw --only " + onlyList(kChosen)));
        expected = new FrameMap(timelineCalledDirectly(kFps, kChosen));
    }
    static void TearDownTestSuite() {
        delete expected;
        delete run;
        delete scratch;
    }
    static Frame captured(int32_t frame) {
        return rawPixels(readBytes(*scratch / ("raw/" + frameFileName(frame, true))));
    }

    static ScratchDir* scratch;
    static ChildResult* run;
    static FrameMap* expected;
};
ScratchDir* CaptureFrames::scratch = nullptr;
ChildResult* CaptureFrames::run = nullptr;
FrameMap* CaptureFrames::expected = nullptr;

TEST_F(CaptureFrames, RawFramesEqualTheTimelineCalledDirectly) {
    ASSERT_EQ(run->exitCode, 0) << run->err;
    EXPECT_EQ(run->out, "");  // every data file is there: no loader message
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(*scratch / "raw")) {
        written.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(written.size(), kChosen.size());
    for (int32_t frame : kChosen) {
        const Frame pixels = captured(frame);
        ASSERT_EQ(pixels.size(), 640u * 480u) << "frame " << frame;
        EXPECT_TRUE(pixels == expected->at(frame)) << "frame " << frame;
    }
    // The chosen frames differ from each other: the comparison can tell them apart.
    EXPECT_NE(expected->at(40), expected->at(41));
    EXPECT_NE(expected->at(41), expected->at(42));
}

TEST_F(CaptureFrames, PpmFramesHoldTheRedGreenBlueBytes) {
    ScratchDir ppm;
    const ChildResult ppmRun = runCapture("--fps 1 --frames " + ppm.path() + " --only 41,155");
    ASSERT_EQ(ppmRun.exitCode, 0) << ppmRun.err;
    for (int32_t frame : {41, 155}) {
        const std::vector<uint8_t> bytes = readBytes(ppm / frameFileName(frame, false));
        const std::string header = "P6\n640 480\n255\n";
        ASSERT_EQ(bytes.size(), header.size() + 640u * 480u * 3u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + header.size()), header);
        const Frame& pixels = expected->at(frame);
        size_t mismatches = 0;
        for (size_t k = 0; k < pixels.size(); ++k) {
            const uint8_t* rgb = bytes.data() + header.size() + 3 * k;
            const uint32_t fromFile = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
            mismatches += fromFile != (pixels[k] & 0x00FFFFFFu);
        }
        EXPECT_EQ(mismatches, 0u) << "frame " << frame;
    }
}

TEST_F(CaptureFrames, EachFadeFrameDarkensTheLastShowFrameByThreeMore) {
    ASSERT_EQ(run->exitCode, 0) << run->err;
    const Frame lastShow = captured(kLastShowFrame);
    for (int32_t frame : {151, 155, 160}) {
        const uint32_t amount = 3u * static_cast<uint32_t>(frame - kLastShowFrame);
        const Frame fade = captured(frame);
        ASSERT_EQ(fade.size(), lastShow.size());
        size_t mismatches = 0;
        for (size_t k = 0; k < fade.size(); ++k) {
            uint32_t want = lastShow[k];
            if (k >= 640) {  // darkening leaves row 0 alone
                want = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    const uint32_t b = (lastShow[k] >> shift) & 0xFF;
                    want |= (b >= amount ? b - amount : 0) << shift;
                }
            }
            mismatches += fade[k] != want;
        }
        EXPECT_EQ(mismatches, 0u) << "fade frame " << frame;
    }
    // Bright enough that ten darkenings change it, row 0 included in the check.
    EXPECT_NE(captured(160), lastShow);
}

TEST_F(CaptureFrames, OnlyFramesEqualThoseOfAFullCapture) {
    ASSERT_EQ(run->exitCode, 0) << run->err;
    ScratchDir full;
    const ChildResult fullRun = runCapture("--fps 1 --raw --frames " + full.path());
    ASSERT_EQ(fullRun.exitCode, 0) << fullRun.err;
    EXPECT_EQ(full.entries().size(), 161u);
    for (int32_t frame : kChosen) {
        EXPECT_TRUE(readBytes(full / frameFileName(frame, true)) ==
                    readBytes(*scratch / ("raw/" + frameFileName(frame, true))))
            << "frame " << frame;
    }
}

TEST(CaptureFramesAtSevenFps, TruncatedReadingsMatchTheTimelineCalledDirectly) {
    // 7 fps: readings 142, 285, 428, ... ms; frame 1050 reads exactly 150000
    // and is the last show frame, 1120 reads 160000 and is the last fade frame.
    const std::set<int32_t> chosen = {3, 286, 1050, 1051, 1120};
    ScratchDir scratch;
    const ChildResult run =
        runCapture("--fps 7 --raw --frames " + scratch.path() + " --only " + onlyList(chosen));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const FrameMap expected = timelineCalledDirectly(7, chosen);
    ASSERT_EQ(expected.size(), chosen.size());
    for (int32_t frame : chosen) {
        EXPECT_TRUE(rawPixels(readBytes(scratch / frameFileName(frame, true))) == expected.at(frame))
            << "frame " << frame;
    }
}

TEST(CaptureDeterminism, TwoCapturesGiveIdenticalBytes) {
    ScratchDir first, second;
    const std::string args = " --fps 5 --raw --only 0,400,750,751,800";
    const ChildResult a = runCapture("--frames " + first.path() + " --wav " + (first / "s.wav") + args);
    const ChildResult b = runCapture("--frames " + second.path() + " --wav " + (second / "s.wav") + args);
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;
    const std::vector<std::string> names = first.entries();
    ASSERT_EQ(names.size(), 6u);
    ASSERT_EQ(names, second.entries());
    for (const std::string& name : names) {
        EXPECT_TRUE(readBytes(first / name) == readBytes(second / name)) << name;
    }
}

TEST(CaptureStartUp, AMissingImagePrintsTheLoaderMessageAndGoesOn) {
    ScratchDir work;
    for (const char* name : {"welt.raw", "flare2.raw", "font.raw"}) {
        std::filesystem::copy_file(name, work / name);
    }
    const ChildResult run = runCaptureCopy("--fps 1 --raw --frames out --only 160", work.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string message = "Fehler beim ";
    ASSERT_EQ(run.out.rfind(message, 0), 0u) << run.out;
    EXPECT_NE(run.out.find("Bilddatei: flare.raw"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("welt.raw"), std::string::npos) << run.out;
    EXPECT_EQ(readBytes(work / ("out/" + frameFileName(160, true))).size(), 640u * 480u * 4u);
}

}  // namespace
