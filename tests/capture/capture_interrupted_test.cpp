// A capture that fails or is stopped leaves no output under its final name:
// stop signals, a file size limit standing in for a full disk, and an
// encoder that dies half-way.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "capture_test_support.h"

namespace {

constexpr int kStartMs = 20000;
constexpr int kStopMs = 10000;

std::vector<std::string> framesIn(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(CaptureStopped, SignalDuringTheFramesKeepsTheCompleteFramesOnly) {
    ScratchDir out, tmp;
    StartedProgram run =
        startCapture("--frames " + (out / "f") + " --wav " + (out / "s.wav"), {{"TMPDIR", tmp.path()}});
    ASSERT_TRUE(waitForFile(out / "f", "frame_00003.ppm", kStartMs));
    run.signal(SIGINT);
    EXPECT_EQ(run.waitForExit(kStopMs), 130);
    EXPECT_EQ(out.entries(), std::vector<std::string>{"f"});  // no soundtrack, finished or not
    const std::vector<std::string> frames = framesIn(out / "f");
    EXPECT_GE(frames.size(), 3u);
    for (const std::string& name : frames) {
        EXPECT_EQ(name.rfind("frame_", 0), 0u) << name;
        EXPECT_EQ(std::filesystem::file_size(out / ("f/" + name)), 921615u) << name;
    }
}

TEST(CaptureStopped, SignalDuringTheSoundtrackLeavesNothing) {
    ScratchDir out;
    StartedProgram run = startCapture("--wav " + (out / "s.wav"));
    ASSERT_TRUE(waitForFile(out.path(), "s.wav", kStartMs));
    run.signal(SIGHUP);
    EXPECT_EQ(run.waitForExit(kStopMs), 129);
    EXPECT_TRUE(out.entries().empty());
}

// The fake encoder reads frames until it is stopped, noting its process id.
TEST(CaptureStopped, SignalDuringTheVideoStopsTheEncoderAndRemovesTheTemporarySoundtrack) {
    ScratchDir out, tmp, tools;
    writeScript(tools / "ffmpeg", "#!/bin/sh\necho $$ > " + (tools / "pid") + "\nexec cat > /dev/null\n");
    StartedProgram run = startCapture("--video " + (out / "v.mp4"),
                                      {{"TMPDIR", tmp.path()}, {"PATH", tools.path() + ":/usr/bin:/bin"}});
    ASSERT_TRUE(waitForFile(tools.path(), "pid", kStartMs));
    EXPECT_FALSE(tmp.entries().empty()) << "the soundtrack should wait in the temporary folder";
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(kStopMs), 143);
    EXPECT_TRUE(out.entries().empty());
    EXPECT_TRUE(tmp.entries().empty());
    // The encoder ends on its closed input or its signal, a moment after the
    // capture: it has the stop's time to be gone.
    const pid_t encoder = std::stoi(readText(tools / "pid"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopMs);
    while (kill(encoder, 0) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(kill(encoder, 0), 0) << "the encoder still runs";
}

// Every signal whose default action ends the process cleans up as SIGTERM
// does: Ctrl+\\ (SIGQUIT), the user signals, a real-time one.
TEST(CaptureStopped, EverySignalThatWouldEndTheProcessCleansUp) {
    for (const int signal : {SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGRTMIN + 2}) {
        ScratchDir out, tmp, tools;
        writeScript(tools / "ffmpeg", "#!/bin/sh\necho $$ > " + (tools / "pid") + "\nexec cat > /dev/null\n");
        StartedProgram run =
            startCapture("--video " + (out / "q.mp4") + " --wav " + (out / "q.wav"),
                         {{"TMPDIR", tmp.path()}, {"PATH", tools.path() + ":/usr/bin:/bin"}});
        ASSERT_TRUE(waitForFile(tools.path(), "pid", kStartMs)) << "signal " << signal;
        run.signal(signal);
        EXPECT_EQ(run.waitForExit(kStopMs), 128 + signal) << "signal " << signal;
        EXPECT_TRUE(out.entries().empty()) << "signal " << signal;
        EXPECT_TRUE(tmp.entries().empty()) << "signal " << signal;
    }
}

// A stop before the first frame leaves no empty frames folder behind. The
// only frame written is the last one, seconds of composing after the
// soundtrack, so the stop comes before it even on a busy machine.
TEST(CaptureStopped, AStopBeforeTheFirstFrameRemovesTheFolderItMade) {
    ScratchDir out;
    StartedProgram run = startCapture("--frames " + (out / "new") + " --only 9600 --wav " + (out / "s.wav"));
    ASSERT_TRUE(waitForFile(out.path(), "s.wav", kStartMs));  // the soundtrack comes before the frames
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(kStopMs), 143);
    EXPECT_TRUE(out.entries().empty());
}

// Two captures into one frames folder at once: each writes its frames under
// temporary names of its own.
TEST(CaptureTwice, TwoCapturesIntoOneFramesFolderBothSucceed) {
    ScratchDir out;
    StartedProgram first = startCapture("--fps 10 --frames " + (out / "two"));
    StartedProgram second = startCapture("--fps 10 --frames " + (out / "two"));
    EXPECT_EQ(first.waitForExit(120000), 0) << first.errorOutput();
    EXPECT_EQ(second.waitForExit(120000), 0) << second.errorOutput();
    EXPECT_EQ(framesIn(out / "two").size(), 1601u);
}

// dash counts ulimit -f in 512-byte blocks, bash in 1024-byte ones: 800
// blocks are less than one frame file and less than the soundtrack in both.
TEST(CaptureFailed, AFileSizeLimitLeavesNoCutFileAndKeepsTheMessage) {
    ScratchDir out;
    const ChildResult wav = runCapture("--wav " + (out / "s.wav"), {}, "", "ulimit -f 800");
    EXPECT_EQ(wav.exitCode, 1);
    EXPECT_EQ(wav.err, "demo_capture: cannot write '" + (out / "s.wav") + "': File too large\n");
    EXPECT_TRUE(out.entries().empty());

    const ChildResult frames = runCapture("--fps 1 --frames " + (out / "f"), {}, "", "ulimit -f 800");
    EXPECT_EQ(frames.exitCode, 1);
    EXPECT_EQ(frames.err,
              "demo_capture: cannot write '" + (out / "f") + "/frame_00000.ppm': File too large\n");
    EXPECT_TRUE(framesIn(out / "f").empty());
}

TEST(CaptureFailed, AnEncoderKilledHalfWayLeavesNoVideo) {
    ScratchDir out, tools;
    writeScript(tools / "ffmpeg",
                "#!/bin/sh\nfor a in \"$@\"; do last=\"$a\"; done\n"
                "head -c 5000000 > \"${last#file:}\"\nkill -9 $$\n");
    const ChildResult run = runCapture("--fps 10 --video " + (out / "v.mp4") + " --wav " + (out / "s.wav"),
                                       {{"PATH", tools.path() + ":/usr/bin:/bin"}});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "demo_capture: ffmpeg was ended by signal 9\n");
    EXPECT_TRUE(out.entries().empty());
}

}  // namespace
