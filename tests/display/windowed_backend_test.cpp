// The windowed back end on private X servers: picture, converter choice,
// placement, zoom keys, resizing, Escape, close and other keys.
#include <gtest/gtest.h>

#include "probe_run.h"

namespace {

struct WindowedRun {
    XSession session;
    std::unique_ptr<StartedProgram> probe;
    std::string window;
    WindowPlace place;

    WindowedRun(const std::string& screen, bool withWindowManager) : session(screen, withWindowManager) {}

    // Starts the probe and waits until its window has settled.
    void start() {
        ASSERT_TRUE(session.ready());
        probe = startProbe(session, "windowed", "still");
        ASSERT_TRUE(probe->waitForOutput("presenting", kStartTimeoutMs)) << probe->output();
        window = findTestWindow(session, kStartTimeoutMs);
        ASSERT_FALSE(window.empty());
        place = settledWindowPlace(session, window);
    }

    void expectCentred(const WindowPlace& p) const {
        EXPECT_EQ(p.outerX(), (session.width() - p.outerWidth()) >> 1);
        EXPECT_EQ(p.outerY(), (session.height() - p.outerHeight()) >> 1);
    }

    void expectStretchedPicture(const WindowPlace& p) const {
        pauseMs(300);  // a couple of frames at the new size
        const Screenshot shot = session.screenshot();
        ASSERT_FALSE(shot.pixels.empty());
        const int32_t width = std::min(p.clientWidth, session.width() - p.clientX);
        const int32_t height = std::min(p.clientHeight, session.height() - p.clientY);
        EXPECT_EQ(stretchedPatternMismatches(shot, p.clientX, p.clientY, width, height), 0);
    }
};

void expectExactPicture(WindowedRun& run, int redBits, int greenBits, int blueBits) {
    const Screenshot shot = run.session.screenshot();
    ASSERT_FALSE(shot.pixels.empty());
    EXPECT_EQ(patternMismatches(shot, run.place.clientX, run.place.clientY, redBits, greenBits, blueBits), 0);
}

}  // namespace

TEST(WindowedBackend, CentredWindowShowsThePatternExactlyAndOnlyEscapeEndsIt) {
    WindowedRun run("1024x768x24", true);
    ASSERT_NO_FATAL_FAILURE(run.start());
    EXPECT_NE(run.probe->output().find("converter xrgb32"), std::string::npos) << run.probe->output();
    EXPECT_EQ(run.place.clientWidth, 640);
    EXPECT_EQ(run.place.clientHeight, 480);
    EXPECT_GT(run.place.top, 0) << "openbox frames the window";
    run.expectCentred(run.place);
    expectExactPicture(run, 8, 8, 8);

    for (const char* key : {"a", "3", "space", "Return"}) typeKey(run.session, run.window, key);
    EXPECT_FALSE(run.probe->waitForExit(500).has_value()) << "another key ended the program";
    const WindowPlace after = settledWindowPlace(run.session, run.window);
    EXPECT_EQ(after.outerWidth(), run.place.outerWidth());
    EXPECT_EQ(after.outerX(), run.place.outerX());

    typeKey(run.session, run.window, "Escape");
    EXPECT_EQ(run.probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << run.probe->output();
}

TEST(WindowedBackend, SixteenBitDisplayUses565AndCloseRequestEndsIt) {
    WindowedRun run("1024x768x16", false);
    ASSERT_NO_FATAL_FAILURE(run.start());
    EXPECT_NE(run.probe->output().find("converter rgb565"), std::string::npos) << run.probe->output();
    expectExactPicture(run, 5, 6, 5);
    sendCloseRequest(run.session, run.window);
    EXPECT_EQ(run.probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << run.probe->output();
}

TEST(WindowedBackend, FifteenBitDisplayUses555) {
    WindowedRun run("1024x768x15", false);
    ASSERT_NO_FATAL_FAILURE(run.start());
    EXPECT_NE(run.probe->output().find("converter rgb555"), std::string::npos) << run.probe->output();
    expectExactPicture(run, 5, 5, 5);
    typeKey(run.session, run.window, "Escape");
    EXPECT_EQ(run.probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << run.probe->output();
}

TEST(WindowedBackend, ZoomKeysScaleTheOuterSizeAndKeepTheWindowCentred) {
    WindowedRun run("2560x1600x24", true);
    ASSERT_NO_FATAL_FAILURE(run.start());
    const WindowPlace single = run.place;
    run.expectCentred(single);

    typeKey(run.session, run.window, "2");
    const WindowPlace doubled = movedWindowPlace(run.session, run.window, single);
    EXPECT_EQ(doubled.outerWidth(), 2 * single.outerWidth());
    EXPECT_EQ(doubled.outerHeight(), 2 * single.outerHeight());
    run.expectCentred(doubled);
    run.expectStretchedPicture(doubled);

    typeKey(run.session, run.window, "4");
    const WindowPlace quadrupled = movedWindowPlace(run.session, run.window, doubled);
    EXPECT_EQ(quadrupled.outerWidth(), 4 * single.outerWidth());
    EXPECT_EQ(quadrupled.outerHeight(), 4 * single.outerHeight());
    EXPECT_LT(quadrupled.outerX(), 0);
    EXPECT_LT(quadrupled.outerY(), 0);
    run.expectCentred(quadrupled);

    typeKey(run.session, run.window, "1");
    const WindowPlace restored = movedWindowPlace(run.session, run.window, quadrupled);
    EXPECT_EQ(restored.outerX(), single.outerX());
    EXPECT_EQ(restored.outerY(), single.outerY());
    EXPECT_EQ(restored.clientWidth, 640);
    EXPECT_EQ(restored.clientHeight, 480);

    // A resize by other means, to another aspect ratio, stretches the picture too.
    run.session.run({"xdotool", "windowsize", "--sync", run.window, "900", "300"});
    const WindowPlace resized = movedWindowPlace(run.session, run.window, restored);
    EXPECT_EQ(resized.clientWidth, 900);
    EXPECT_EQ(resized.clientHeight, 300);
    run.expectStretchedPicture(resized);

    run.session.run({"wmctrl", "-c", "test"});
    EXPECT_EQ(run.probe->waitForExit(kExitTimeoutMs), std::optional<int>(0)) << run.probe->output();
}

TEST(WindowedBackend, WithoutDisplayTheStartFails) {
    auto probe = std::make_unique<StartedProgram>(
        std::vector<std::string>{"./display_probe_windowed", "still", "5"},
        Environment{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}});
    EXPECT_EQ(probe->waitForExit(kStartTimeoutMs), std::optional<int>(1));
    EXPECT_NE(probe->output().find("display init failed"), std::string::npos) << probe->output();
}

TEST(WindowedBackend, OffscreenDriverServesWhenAskedFor) {
    auto probe =
        std::make_unique<StartedProgram>(std::vector<std::string>{"./display_probe_windowed", "still", "1"},
                                         Environment{{"DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}});
    EXPECT_EQ(probe->waitForExit(kStartTimeoutMs), std::optional<int>(3)) << probe->output();
    EXPECT_NE(probe->output().find("presenting"), std::string::npos) << probe->output();
}
