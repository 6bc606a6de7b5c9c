// The fullscreen back end on private X servers with openbox: the picture
// letterboxed on a wide screen and exact in a 640x480 mode, drawing only with
// input focus, Escape and close.
#include <gtest/gtest.h>

#include "probe_run.h"

namespace {

std::string startFullscreen(const XSession& session, std::unique_ptr<ChildProcess>& probe,
                            const std::string& pattern) {
    probe = startProbe(session, "fullscreen", pattern);
    if (!probe->waitForOutput("presenting", kStartTimeoutMs)) return "";
    const std::string window = findTestWindow(session, kStartTimeoutMs);
    if (!window.empty()) settledWindowPlace(session, window);
    pauseMs(300);
    return window;
}

bool sameScreen(const Screenshot& a, const Screenshot& b) { return a.pixels == b.pixels; }

}  // namespace

TEST(FullscreenBackend, WideScreenShowsTheLetterboxedPictureUntilEscape) {
    XSession session("1280x720x24", true);
    ASSERT_TRUE(session.ready());
    std::unique_ptr<ChildProcess> probe;
    const std::string window = startFullscreen(session, probe, "still");
    ASSERT_FALSE(window.empty()) << probe->output();
    EXPECT_NE(probe->output().find("converter xrgb32"), std::string::npos) << probe->output();
    const WindowPlace place = windowPlace(session, window);
    EXPECT_EQ(place.clientX, 0);
    EXPECT_EQ(place.clientY, 0);
    EXPECT_EQ(place.clientWidth, 1280);
    EXPECT_EQ(place.clientHeight, 720);

    const Screenshot shot = session.screenshot();
    ASSERT_FALSE(shot.pixels.empty());
    EXPECT_EQ(nonBlackPixels(shot, 0, 0, 160, 720), 0);
    EXPECT_EQ(nonBlackPixels(shot, 1120, 0, 160, 720), 0);
    EXPECT_EQ(stretchedPatternMismatches(shot, 160, 0, 960, 720), 0);

    typeKey(session, window, "x");
    EXPECT_FALSE(probe->waitForExit(500).has_value()) << "another key ended the program";
    typeKey(session, window, "Escape");
    EXPECT_EQ(probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << probe->output();
}

TEST(FullscreenBackend, FrameSizedModeShowsThePatternExactlyUntilClosed) {
    XSession session("640x480x24", true);
    ASSERT_TRUE(session.ready());
    std::unique_ptr<ChildProcess> probe;
    const std::string window = startFullscreen(session, probe, "still");
    ASSERT_FALSE(window.empty()) << probe->output();
    const Screenshot shot = session.screenshot();
    ASSERT_FALSE(shot.pixels.empty());
    EXPECT_EQ(patternMismatches(shot, 0, 0, 8, 8, 8), 0);
    session.run("wmctrl -c test");
    EXPECT_EQ(probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << probe->output();
}

TEST(FullscreenBackend, DrawsOnlyWithInputFocus) {
    XSession session("1280x720x24", true);
    ASSERT_TRUE(session.ready());
    std::unique_ptr<ChildProcess> probe;
    const std::string window = startFullscreen(session, probe, "moving");
    ASSERT_FALSE(window.empty()) << probe->output();
    const Screenshot focused = session.screenshot();
    pauseMs(200);
    EXPECT_FALSE(sameScreen(focused, session.screenshot())) << "the picture should move with focus";
    {
        FocusThief thief(session);
        ASSERT_TRUE(thief.tookFocus());
        pauseMs(300);
        const Screenshot first = session.screenshot();
        pauseMs(300);
        EXPECT_TRUE(sameScreen(first, session.screenshot())) << "drawing went on without focus";
        session.run("xdotool windowactivate --sync " + window + " >/dev/null 2>&1");
        pauseMs(300);
        const Screenshot back = session.screenshot();
        pauseMs(200);
        EXPECT_FALSE(sameScreen(back, session.screenshot())) << "drawing did not resume with focus";
    }
    EXPECT_TRUE(probe->running());
}

// No window manager makes the window fullscreen: it must be the desktop's
// size itself, or only the middle of the letterboxed picture shows.
TEST(FullscreenBackend, WithoutWindowManagerTheWindowCoversTheDesktop) {
    XSession session("1280x720x24", false);
    ASSERT_TRUE(session.ready());
    std::unique_ptr<ChildProcess> probe;
    const std::string window = startFullscreen(session, probe, "still");
    ASSERT_FALSE(window.empty()) << probe->output();
    const WindowPlace place = windowPlace(session, window);
    EXPECT_EQ(place.clientX, 0);
    EXPECT_EQ(place.clientY, 0);
    EXPECT_EQ(place.clientWidth, 1280);
    EXPECT_EQ(place.clientHeight, 720);
    const Screenshot shot = session.screenshot();
    ASSERT_FALSE(shot.pixels.empty());
    EXPECT_EQ(nonBlackPixels(shot, 0, 0, 160, 720), 0);
    EXPECT_EQ(nonBlackPixels(shot, 1120, 0, 160, 720), 0);
    EXPECT_EQ(stretchedPatternMismatches(shot, 160, 0, 960, 720), 0);
}

// Without focus a present waits for events: a few dozen presents a second,
// not one every millisecond.
TEST(FullscreenBackend, WithoutFocusPresentsWaitInsteadOfSpinning) {
    XSession session("1280x720x24", true);
    ASSERT_TRUE(session.ready());
    ChildProcess probe({"./display_probe_fullscreen", "moving", "4"}, {"DISPLAY=" + session.display(), "SDL_VIDEODRIVER="});
    ASSERT_TRUE(probe.waitForOutput("presenting", kStartTimeoutMs));
    ASSERT_FALSE(findTestWindow(session, kStartTimeoutMs).empty());
    FocusThief thief(session);
    ASSERT_TRUE(thief.tookFocus());
    // The exit code is left alone: under LeakSanitizer a leak inside the
    // system's D-Bus library turns the probe's 3 into 1.
    ASSERT_TRUE(probe.waitForExit(kStartTimeoutMs).has_value()) << probe.output();
    const std::string said = probe.output();
    const size_t at = said.find("time is up after ");
    ASSERT_NE(at, std::string::npos) << said;
    EXPECT_LT(std::stoi(said.substr(at + 17)), 400) << said;
}

TEST(FullscreenBackend, WithoutDisplayTheStartFails) {
    auto probe = std::make_unique<ChildProcess>(std::vector<std::string>{"./display_probe_fullscreen", "still", "5"},
                                                std::vector<std::string>{"DISPLAY=", "WAYLAND_DISPLAY=",
                                                                         "SDL_VIDEODRIVER="});
    EXPECT_EQ(probe->waitForExit(kStartTimeoutMs), std::optional<int>(1));
    EXPECT_NE(probe->output().find("display init failed"), std::string::npos) << probe->output();
}
