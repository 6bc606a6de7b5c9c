// The whole presentation of 160 s, with the real sound library on SDL's
// dummy output and a scripted display: the proof that the timeline ends.
#include <gtest/gtest.h>

#include "run_folder.h"
#include "volume_log.h"

namespace {

using namespace std::chrono_literals;

TEST(DriverFullRun, PlaysTheWholeTimelineAndEndsWithTheCredits) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.run("driver_scripted_demo",
                                       {{"SDL_AUDIODRIVER", "dummy"},
                                        {"DEMO_TEST_VOLUME_LOG", folder.file("volume.log")},
                                        {"DEMO_TEST_DISPLAY_LOG", folder.file("display.log")}},
                                       300s);
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.exited) << "ended by signal " << run.signal;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(reportsFault(run.err)) << run.err;
    EXPECT_EQ(run.out, transcript::fullRun());
    expectFadeVolumes(readVolumes(folder.file("volume.log")));
}

}  // namespace
