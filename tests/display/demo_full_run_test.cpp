// One whole presentation of demo_windowed, 160 seconds, with silent audio.
#include <gtest/gtest.h>

#include "demo_run.h"

TEST(DemoWindowedFullRun, PlaysToTheEndWithTheWholeTranscript) {
    XSession session("1024x768x24", true);
    ASSERT_TRUE(session.ready());
    auto demo = startDemo("demo_windowed", session.display());
    const std::optional<int> exitCode = demo->waitForExit(200000);
    EXPECT_EQ(exitCode, std::optional<int>(0)) << demo->errorOutput();
    EXPECT_EQ(demo->output(), transcript::fullRun());
}
