// The demo programs with their display back ends: ended early by Escape or by
// closing the window (exit code 0, no credits), and refusing to start without
// a display.
#include <gtest/gtest.h>

#include <csignal>

#include "demo_run.h"

namespace {

constexpr int kStartTimeoutMs = 30000;
constexpr int kExitTimeoutMs = 5000;

struct DemoRun {
    XSession session{"1024x768x24", true};
    std::unique_ptr<ChildProcess> demo;
    std::string window;

    void start(const std::string& program) {
        ASSERT_TRUE(session.ready());
        demo = startDemo(program, session.display());
        ASSERT_TRUE(demo->waitForOutput("Go....", kStartTimeoutMs)) << demo->output() << demo->errorOutput();
        window = findTestWindow(session, kStartTimeoutMs);
        ASSERT_FALSE(window.empty());
        settledWindowPlace(session, window);
        pauseMs(1000);  // let it play a little
    }

    void expectEndedEarly() {
        EXPECT_EQ(demo->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << demo->errorOutput();
        EXPECT_EQ(demo->output(), runningTranscript());
    }
};

}  // namespace

TEST(DemoWindowed, OtherKeysDoNothingAndEscapeEndsItAtOnce) {
    DemoRun run;
    ASSERT_NO_FATAL_FAILURE(run.start("demo_windowed"));
    typeKey(run.session, run.window, "a");
    EXPECT_FALSE(run.demo->waitForExit(500).has_value());
    typeKey(run.session, run.window, "Escape");
    run.expectEndedEarly();
}

TEST(DemoWindowed, CloseRequestEndsItAtOnce) {
    DemoRun run;
    ASSERT_NO_FATAL_FAILURE(run.start("demo_windowed"));
    run.session.run("wmctrl -c test");
    run.expectEndedEarly();
}

TEST(DemoFullscreen, EscapeEndsItAtOnce) {
    DemoRun run;
    ASSERT_NO_FATAL_FAILURE(run.start("demo_fullscreen"));
    typeKey(run.session, run.window, "Escape");
    run.expectEndedEarly();
}

TEST(DemoFullscreen, CloseRequestEndsItAtOnce) {
    DemoRun run;
    ASSERT_NO_FATAL_FAILURE(run.start("demo_fullscreen"));
    run.session.run("wmctrl -c test");
    run.expectEndedEarly();
}

// Ctrl+C and SIGTERM end the programs the usual way, by the signal, with
// nothing more written, and soon: the open audio device holds nothing up.
TEST(DemoPrograms, InterruptAndTerminateEndThemByTheSignal) {
    const struct {
        const char* program;
        int signal;
    } cases[] = {{"demo_windowed", SIGINT}, {"demo_fullscreen", SIGTERM}};
    for (const auto& c : cases) {
        DemoRun run;
        ASSERT_NO_FATAL_FAILURE(run.start(c.program));
        run.demo->sendSignal(c.signal);
        EXPECT_EQ(run.demo->waitForExit(kExitTimeoutMs), std::optional<int>(128 + c.signal)) << c.program;
        EXPECT_EQ(run.demo->endSignal(), c.signal) << c.program;
        EXPECT_EQ(run.demo->output(), runningTranscript()) << c.program;
    }
}

TEST(DemoPrograms, WithoutDisplayTheyReportDirectXSuxxs) {
    for (const char* program : {"demo_windowed", "demo_fullscreen"}) {
        ChildProcess demo({std::string("./") + program},
                          {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=dummy"});
        EXPECT_EQ(demo.waitForExit(kStartTimeoutMs), std::optional<int>(1)) << program;
        EXPECT_EQ(demo.output(), startTranscript() + "\n DirectX Suxxs !!!\n") << program;
    }
}
