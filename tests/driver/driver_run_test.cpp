// Runs of the demo that reach the show, with the real sound library on SDL's
// dummy output, a scripted display and the clock moved ahead so that a run
// takes seconds: the end of the timeline, a missing image and Escape.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "driver/music.h"
#include "run_folder.h"
#include "volume_log.h"

namespace {

using namespace std::chrono_literals;
using namespace transcript;

constexpr const char kDemo[] = "driver_scripted_demo";

Environment startingAt(int clockMs, const RunFolder& folder) {
    return {{"SDL_AUDIODRIVER", "dummy"},
            {"DEMO_TEST_CLOCK_OFFSET_MS", std::to_string(clockMs)},
            {"DEMO_TEST_VOLUME_LOG", folder.file("volume.log")},
            {"DEMO_TEST_DISPLAY_LOG", folder.file("display.log")}};
}

void expectExitZero(const ChildResult& run) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.exited) << "ended by signal " << run.signal;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(reportsFault(run.err)) << run.err;
}

TEST(DriverRun, TheLastSecondsOfTheShowAndTheFadeEndWithTheCredits) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.run(kDemo, startingAt(149'000, folder), 120s);
    expectExitZero(run);
    EXPECT_EQ(run.out, upToGo() + credits());
    expectFadeVolumes(readVolumes(folder.file("volume.log")));
    EXPECT_EQ(readText(folder.file("display.log")).rfind("init test 640 480\nexit after ", 0), 0u);
}

TEST(DriverRun, MissingFlareImageIsReportedOnItsOwnLineAndTheRunGoesOn) {
    RunFolder folder({"flare.raw"});
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.runCopy(kDemo, startingAt(159'500, folder), 60s);
    expectExitZero(run);
    EXPECT_EQ(run.out, std::string(kStart) +
                           "Fehler beim \xC3\xB6"
                           "ffnen der Bilddatei: flare.raw" +
                           kLoadingSound + kInitDisplay + kGo + credits());
}

TEST(DriverRun, ACutModuleIsNamedOnStandardErrorAndTheRunGoesOnUnchanged) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    std::filesystem::resize_file(folder.file("qzt_dmbl.xm"), 1000);
    const ChildResult run = folder.run(kDemo, startingAt(159'500, folder), 60s);
    expectExitZero(run);
    EXPECT_EQ(run.out, upToGo() + credits());
    const std::string line =
        "the module 'qzt_dmbl.xm' is damaged: it has 1000 bytes, its headers declare at least ";
    EXPECT_EQ(run.err.rfind(line, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(DriverRun, EscapeDuringTheFadeEndsWithZeroAndNoCredits) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    Environment environment = startingAt(155'000, folder);
    environment.push_back({"DEMO_TEST_ESCAPE_AT_MS", "156000"});
    const ChildResult run = folder.run(kDemo, environment, 60s);
    expectExitZero(run);
    EXPECT_EQ(run.out, upToGo());
    const std::vector<int> volumes = readVolumes(folder.file("volume.log"));
    ASSERT_FALSE(volumes.empty()) << "Escape came before the fade";
    EXPECT_GT(volumes.back(), 0) << "Escape came after the fade";
    EXPECT_NE(readText(folder.file("display.log")).find("shutdown after "), std::string::npos);
}

TEST(SoundErrorText, GivesTheTextOfEachCodeAndUnknownErrorOutsideTheTable) {
    const char* const expected[] = {
        "No errors",
        "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
        "This command failed because FSOUND_Init was not called",
        "Error initializing output device.",
        "The output device is already in use and cannot be reused.",
        "Playing the sound failed.",
        "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
        "Error setting cooperative level for hardware.",
        "Error creating hardware sound buffer.",
        "File not found",
        "Unknown file format",
        "Error loading file",
        "Not enough memory ",
        "The version number of this file format is not supported",
        "Incorrect mixer selected",
        "An invalid parameter was passed to this function",
        "Tried to use an EAX command on a non EAX enabled channel or output.",
        "Tried to use an advanced EAX2 command on a non EAX2 enabled channel or output.",
        "Failed to allocate a new channel",
        "Recording not supported on this device",
    };
    for (int32_t code = 0; code < 20; ++code) EXPECT_STREQ(soundErrorText(code), expected[code]) << code;
    for (int32_t code : {-1, 20, INT32_MIN, INT32_MAX}) EXPECT_STREQ(soundErrorText(code), "Unknown error");
}

}  // namespace
