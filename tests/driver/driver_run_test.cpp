// Every road of the demo's run, in this process, with a sound library and a
// display of the test's own: the whole timeline, Escape in each phase, a
// failed display start, each failure of the sound start and missing images.
// Standard output is checked byte for byte, and the calls the driver makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/display.h"
#include "driver/demo_host.h"
#include "run_folder.h"
#include "support/system.h"
#include "support/transcript.h"

namespace {

using namespace transcript;

// What the fake library and display were asked, and how they answer.
struct Fakes {
    float version = kSoundLibraryVersion;
    bool initWorks = true;
    bool loadWorks = true;
    int error = 0;
    int32_t clock = 0;      // the next reading
    int32_t clockStep = 0;  // added after each reading
    bool displayWorks = true;
    int32_t quitAtPresent = 0;  // the present that sees Escape; 0: none
    int32_t presents = 0;
    std::vector<std::string> calls;
    std::vector<int32_t> volumes;
    std::vector<int32_t> readings;
};
Fakes fakes;

char songBytes;  // the fake song is only ever compared
FMUSIC_MODULE* const kFakeSong = reinterpret_cast<FMUSIC_MODULE*>(&songBytes);

const SoundLibrary kFakeSound{
    [] { return fakes.version; },
    [](int rate, int channels, unsigned flags) -> signed char {
        fakes.calls.push_back("init " + std::to_string(rate) + " " + std::to_string(channels) + " " +
                              std::to_string(flags));
        return fakes.initWorks ? 1 : 0;
    },
    [] { return fakes.error; },
    [] { fakes.calls.push_back("close"); },
    [](const char* name) {
        fakes.calls.push_back(std::string("load ") + name);
        return fakes.loadWorks ? kFakeSong : nullptr;
    },
    [](FMUSIC_MODULE* song) -> signed char {
        fakes.calls.push_back(song == kFakeSong ? "play" : "play ?");
        return 1;
    },
    [](FMUSIC_MODULE*) {
        const int32_t reading = fakes.clock;
        fakes.readings.push_back(reading);
        fakes.clock += fakes.clockStep;
        return int{reading};
    },
    [](FMUSIC_MODULE*, int volume) -> signed char {
        fakes.volumes.push_back(volume);
        return 1;
    },
    [](FMUSIC_MODULE* song) -> signed char {
        fakes.calls.push_back(song == kFakeSong ? "free" : "free ?");
        return 1;
    },
};

const DisplayBackEnd kFakeDisplay{
    [](const char* name, int32_t width, int32_t height) -> int32_t {
        fakes.calls.push_back(std::string("display ") + name + " " + std::to_string(width) + " " +
                              std::to_string(height));
        return fakes.displayWorks ? 1 : 0;
    },
    [](const uint32_t*) -> int32_t { return ++fakes.presents == fakes.quitAtPresent ? kDisplayQuit : 1; },
    [] { fakes.calls.push_back("shutdown"); },
};

const std::vector<std::string> kStartCalls = {"init 44100 32 0", "load qzt_dmbl.xm", "play",
                                              "display test 640 480"};

struct RunOutput {
    DemoEnd end;
    std::string out;
};

// The demo's run from a fresh state of the fakes, the clock reading start
// first and step more at every frame.
RunOutput runWith(Fakes setUp) {
    fakes = std::move(setUp);
    testing::internal::CaptureStdout();
    const DemoEnd end = runDemo(kFakeSound, kFakeDisplay);
    return {end, testing::internal::GetCapturedStdout()};
}

Fakes clockFrom(int32_t start, int32_t step) {
    Fakes f;
    f.clock = start;
    f.clockStep = step;
    return f;
}

TEST(DemoRun, TheWholeTimelineEndsWithTheSongFreedAndTheCredits) {
    const RunOutput run = runWith(clockFrom(0, 1000));
    EXPECT_EQ(run.end, DemoEnd::Finished);
    EXPECT_EQ(run.out, fullRun());
    std::vector<std::string> calls = kStartCalls;
    calls.insert(calls.end(), {"free", "close"});
    EXPECT_EQ(fakes.calls, calls) << "no shutdown: the end of the process takes the display down";
    // Show frames up to the first reading at or past 150000, then fade frames
    // up to the first past 160000; the clock is not read after it.
    EXPECT_EQ(fakes.presents, 161);
    EXPECT_EQ(fakes.readings.back(), 160000);
    const std::vector<int32_t> volumes = {230, 204, 179, 153, 128, 102, 77, 51, 26, 0};
    EXPECT_EQ(fakes.volumes, volumes);
}

TEST(DemoRun, AReadingPastTheFadeAtTheFirstFrameEndsAtOnceWithoutAVolume) {
    const RunOutput run = runWith(clockFrom(170000, 1));
    EXPECT_EQ(run.end, DemoEnd::Finished);
    EXPECT_EQ(run.out, fullRun());
    EXPECT_EQ(fakes.presents, 1);
    EXPECT_TRUE(fakes.volumes.empty());
}

// Escape is seen by the present of a show frame, of the last show frame, of
// a fade frame: the run ends at once, nothing freed, no credits.
TEST(DemoRun, EscapeInEachPhaseEndsWithoutCredits) {
    const struct {
        int32_t present;
        size_t volumes;
    } cases[] = {{1, 0}, {80, 0}, {151, 0}, {152, 1}, {161, 10}};
    for (const auto& c : cases) {
        Fakes f = clockFrom(0, 1000);
        f.quitAtPresent = c.present;
        const RunOutput run = runWith(f);
        EXPECT_EQ(run.end, DemoEnd::Quit) << c.present;
        EXPECT_EQ(run.out, upToGo()) << c.present;
        EXPECT_EQ(fakes.calls, kStartCalls) << c.present;
        EXPECT_EQ(fakes.presents, c.present);
        EXPECT_EQ(fakes.volumes.size(), c.volumes) << c.present;
    }
}

TEST(DemoRun, AFailedDisplayStartLeavesTheSongPlaying) {
    Fakes f = clockFrom(0, 1000);
    f.displayWorks = false;
    const RunOutput run = runWith(f);
    EXPECT_EQ(run.end, DemoEnd::DisplayFailed);
    EXPECT_EQ(run.out, upToDisplay() + kDisplayFailed);
    EXPECT_EQ(fakes.calls, kStartCalls);
    EXPECT_TRUE(fakes.readings.empty());
}

// Each failure prints its line after "loading sound" and nothing more; the
// sound system a failed load leaves open stays so.
TEST(DemoRun, EachSoundStartFailurePrintsItsLineAndNothingMore) {
    const struct {
        float version;
        bool initWorks;
        bool loadWorks;
        int error;
        const char* line;
        std::vector<std::string> calls;
    } cases[] = {
        {3.1f,
         true,
         true,
         0,
         "Error : You are using the wrong DLL version!  You should be using FMOD 3.20\n",
         {}},
        {3.21f,
         true,
         true,
         0,
         "Error : You are using the wrong DLL version!  You should be using FMOD 3.20\n",
         {}},
        {kSoundLibraryVersion, false, true, 3, "Error initializing output device.\n", {"init 44100 32 0"}},
        {kSoundLibraryVersion, true, false, 9, "File not found\n", {"init 44100 32 0", "load qzt_dmbl.xm"}},
        {kSoundLibraryVersion,
         true,
         false,
         12,
         "Not enough memory \n",
         {"init 44100 32 0", "load qzt_dmbl.xm"}},
        {kSoundLibraryVersion, true, false, -1, "Unknown error\n", {"init 44100 32 0", "load qzt_dmbl.xm"}},
    };
    for (const auto& c : cases) {
        Fakes f;
        f.version = c.version;
        f.initWorks = c.initWorks;
        f.loadWorks = c.loadWorks;
        f.error = c.error;
        const RunOutput run = runWith(f);
        EXPECT_EQ(run.end, DemoEnd::SoundFailed) << c.line;
        EXPECT_EQ(run.out, std::string(kStart) + kLoadingSound + c.line);
        EXPECT_EQ(fakes.calls, c.calls) << c.line;
    }
}

// A pipe never opens for reading until someone writes into it: in place of
// an image it is reported as a missing one, not waited for.
TEST(DemoRun, AMissingImageOrAPipeInItsPlaceIsReportedOnItsOwnLineAndTheRunGoesOn) {
    for (const bool pipe : {false, true}) {
        RunFolder folder({"flare.raw"});
        ASSERT_TRUE(folder.ready());
        if (pipe) {
            ASSERT_TRUE(makeFifo(folder.file("flare.raw")));
        }
        const RunOutput run = runWith(clockFrom(159000, 1000));
        EXPECT_EQ(run.end, DemoEnd::Finished);
        EXPECT_EQ(run.out, std::string(kStart) +
                               "Fehler beim \xC3\xB6"
                               "ffnen der Bilddatei: flare.raw" +
                               kLoadingSound + kInitDisplay + kGo + credits())
            << (pipe ? "pipe" : "missing");
    }
}

}  // namespace
