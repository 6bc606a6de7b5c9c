// The demo's run with the real sound library on SDL's dummy output: the
// failures of the sound start as the demo prints them, and a damaged module
// that is named on standard error while the run goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "display/display.h"
#include "driver/demo_host.h"
#include "run_folder.h"
#include "support/system.h"
#include "support/transcript.h"

namespace {

using namespace transcript;

// A display that fails to start: the run stops before the first frame.
const DisplayBackEnd kNoDisplay{[](const char*, int32_t, int32_t) -> int32_t { return 0; },
                                [](const uint32_t*) -> int32_t { return 1; }, [] {}};

std::string soundFailureRun(const char* audioDriver) {
    setenv("SDL_AUDIODRIVER", audioDriver, 1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(runDemo(kSoundLibrary, kNoDisplay), DemoEnd::SoundFailed);
    const std::string out = testing::internal::GetCapturedStdout();
    FSOUND_Close();  // what a failed load leaves open, for the next case
    return out;
}

TEST(DemoSound, NoAudioOutputReportsTheOutputDevice) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    EXPECT_EQ(soundFailureRun("nosuchdriver"),
              std::string(kStart) + kLoadingSound + "Error initializing output device.\n");
}

// A pipe never opens for reading until someone writes into it: the music
// is not found instead of waited for.
TEST(DemoSound, AMissingModuleOrAPipeInItsPlaceIsFileNotFound) {
    RunFolder folder({kSongFileName});
    ASSERT_TRUE(folder.ready());
    const std::string notFound = std::string(kStart) + kLoadingSound + "File not found\n";
    EXPECT_EQ(soundFailureRun("dummy"), notFound);
    ASSERT_TRUE(makeFifo(folder.file(kSongFileName)));
    EXPECT_EQ(soundFailureRun("dummy"), notFound);
}

TEST(DemoSound, ACutModuleIsNamedOnStandardErrorAndTheRunGoesOn) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    std::filesystem::resize_file(folder.file(kSongFileName), 1000);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(runDemo(kSoundLibrary, kNoDisplay), DemoEnd::DisplayFailed);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), upToDisplay() + kDisplayFailed);
    EXPECT_EQ(
        err.rfind("the module 'qzt_dmbl.xm' is damaged: it has 1000 bytes, its headers declare at least ", 0),
        0u)
        << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    // The song plays on until the process ends, as after the demo's failed display start.
}

TEST(SoundErrorText, KeepsTheLibrarysTextsToTheByteAndUnknownErrorOutsideThem) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {0, "No errors"},
        {1, "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first."},
        {9, "File not found"},
        {12, "Not enough memory "},
        {19, "Recording not supported on this device"},
        {-1, "Unknown error"},
        {20, "Unknown error"},
        {INT32_MIN, "Unknown error"},
        {INT32_MAX, "Unknown error"},
    };
    for (const auto& c : cases) EXPECT_STREQ(soundErrorText(c.code), c.text) << c.code;
}

}  // namespace
