// The demo programs with their display back ends: ended early by Escape or by
// closing the window (exit code 0, no credits), and refusing to start without
// a display, saying why.
#include <gtest/gtest.h>

#include <csignal>

#include "demo_run.h"

namespace {

constexpr int kStartTimeoutMs = 30000;
constexpr int kExitTimeoutMs = 5000;

struct DemoRun {
    XSession session{"1024x768x24", true};
    std::unique_ptr<StartedProgram> demo;
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
        EXPECT_EQ(demo->output(), transcript::upToGo());
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
    run.session.run({"wmctrl", "-c", "test"});
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
    run.session.run({"wmctrl", "-c", "test"});
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
        run.demo->signal(c.signal);
        EXPECT_EQ(run.demo->waitForExit(kExitTimeoutMs), std::optional<int>(128 + c.signal)) << c.program;
        EXPECT_EQ(run.demo->endSignal(), c.signal) << c.program;
        EXPECT_EQ(run.demo->output(), transcript::upToGo()) << c.program;
    }
}

TEST(DemoPrograms, WithoutDisplayTheyReportDirectXSuxxs) {
    for (const char* program : {"demo_windowed", "demo_fullscreen"}) {
        const Environment noDisplay{
            {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}};
        StartedProgram demo({std::string("./") + program}, noDisplay);
        EXPECT_EQ(demo.waitForExit(kStartTimeoutMs), std::optional<int>(1)) << program;
        EXPECT_EQ(demo.output(), transcript::upToDisplay() + transcript::kDisplayFailed) << program;
        // And last on standard error one line with SDL's reason (the system's
        // libraries may say something of their own before it).
        const std::string error = demo.errorOutput();
        const std::string lead = "cannot start the display: ";
        const size_t line = error.rfind('\n', error.size() - 2) + 1;  // 0 when it is the only line
        EXPECT_TRUE(error.ends_with("\n") && error.compare(line, lead.size(), lead) == 0 &&
                    error.size() > line + lead.size() + 1)
            << program << ": " << error;
    }
}
