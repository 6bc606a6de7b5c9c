// Outputs refused before any work: one file under two names, a data file of
// the capture, kernel files and devices. And names that ffmpeg would read as
// a protocol or an option.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture_test_support.h"

namespace {

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

struct Refusal {
    std::string args;     // run from the scratch folder
    std::string message;  // standard error's first line, after "demo_capture: "
};

TEST(CaptureOutputs, OneFileUnderTwoNamesOrADataFileIsRefusedBeforeAnyWork) {
    const std::vector<Refusal> refusals = {
        {"--wav ./x.wav --video x.wav", "--wav and --video name the same file"},
        {"--wav sub/../x.wav --video x.wav", "--wav and --video name the same file"},
        {"--wav old.wav --video hard.wav", "--wav and --video name the same file"},
        {"--wav link.wav --video old.wav", "--wav and --video name the same file"},
        {"--frames x.out --video ./x.out", "--frames and --video name the same file"},
        {"--wav qzt_dmbl.xm", "--wav names the data file 'qzt_dmbl.xm', which the capture reads"},
        {"--video ./sub/../welt.raw", "--video names the data file 'welt.raw', which the capture reads"},
        {"--wav font.raw --video v.mp4", "--wav names the data file 'font.raw', which the capture reads"},
        // One of the run's own frame files, whatever frames it chooses.
        {"--fps 1 --frames fz --only 0,1 --wav fz/frame_00000.ppm",
         "--wav names the file of frame 0, which --frames writes"},
        {"--fps 1 --frames fz --video fz/frame_00003.ppm",
         "--video names the file of frame 3, which --frames writes"},
        {"--fps 1 --frames fz --raw --only 7 --video ./fz/../fz/frame_00007.raw",
         "--video names the file of frame 7, which --frames writes"},
    };
    for (const Refusal& refusal : refusals) {
        ScratchDir scratch;
        copyDataFiles(scratch);
        std::filesystem::create_directory(scratch / "sub");
        std::filesystem::create_directory(scratch / "fz");
        { std::ofstream(scratch / "old.wav") << "kept"; }
        std::filesystem::create_hard_link(scratch / "old.wav", scratch / "hard.wav");
        std::filesystem::create_symlink("old.wav", scratch / "link.wav");
        const std::vector<std::string> before = scratch.entries();
        const ChildResult run = runCapture(refusal.args, {}, scratch.path());
        EXPECT_EQ(run.exitCode, 2) << refusal.args;
        EXPECT_EQ(firstLine(run.err), "demo_capture: " + refusal.message) << refusal.args;
        EXPECT_EQ(scratch.entries(), before) << refusal.args;
        EXPECT_EQ(readText(scratch / "old.wav"), "kept") << refusal.args;
        EXPECT_EQ(readBytes(scratch / "qzt_dmbl.xm"), readBytes("qzt_dmbl.xm")) << refusal.args;
    }
}

TEST(CaptureOutputs, KernelFilesAndDevicesAreRefused) {
    // /proc/self/comm is the writing process's own name: harmless to reach.
    const std::vector<Refusal> refusals = {
        {"--wav /proc/self/comm",
         "cannot write the soundtrack file '/proc/self/comm': not a regular file on an ordinary file system"},
        {"--video /sys/kernel/v.mp4",
         "cannot write the video file '/sys/kernel/v.mp4': not a regular file on an ordinary file system"},
        {"--wav /dev/null",
         "cannot write the soundtrack file '/dev/null': not a regular file on an ordinary file system"},
        {"--frames /proc/self",
         "cannot write frames into the folder '/proc/self': not a folder on an ordinary file system"},
        // The device files' own file system, although it is RAM like /dev/shm.
        {"--frames /dev",
         "cannot write frames into the folder '/dev': not a folder on an ordinary file system"},
        {"--frames /dev/new_frames",
         "cannot write frames into the folder '/dev/new_frames': not a folder on an ordinary file system"},
    };
    for (const Refusal& refusal : refusals) {
        ScratchDir scratch;
        const ChildResult run = runCapture(refusal.args);
        EXPECT_EQ(run.exitCode, 2) << refusal.args;
        EXPECT_EQ(firstLine(run.err), "demo_capture: " + refusal.message) << refusal.args;
        EXPECT_EQ(run.out, "") << refusal.args;
    }
}

// Names of frames that the run does not write, and /dev/shm, are fine.
TEST(CaptureOutputs, OtherFrameNamesAndRamFoldersAreAccepted) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    std::filesystem::create_directory(scratch / "fz");
    const ChildResult run =
        runCapture("--fps 1 --frames fz --only 0,1 --wav fz/frame_00002.ppm --video fz/frame_00000.raw",
                   {{"PATH", "/nonexistent"}}, scratch.path());
    EXPECT_EQ(firstLine(run.err),
              "demo_capture: --video needs the program ffmpeg, which is not installed "
              "(not found on PATH); install it (Debian: apt-get install ffmpeg)");
    if (std::filesystem::is_directory("/dev/shm")) {
        const ChildResult shm = runCapture("--fps 1 --frames " + (out / "f") + " --only 0");
        EXPECT_EQ(shm.exitCode, 0) << shm.err;
    }
}

// A link is written through: the file it points to gets the soundtrack, the
// link stays a link.
TEST(CaptureOutputs, ASymlinkedOutputWritesItsTargetAndStaysALink) {
    ScratchDir scratch;
    std::filesystem::create_directory(scratch / "other");
    { std::ofstream(scratch / "other/real.wav") << "old"; }
    std::filesystem::create_symlink("other/real.wav", scratch / "link.wav");
    std::filesystem::create_symlink("link.wav", scratch / "chain.wav");
    const ChildResult run = runCapture("--fps 1 --wav " + (scratch / "chain.wav"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(scratch / "chain.wav"));
    EXPECT_TRUE(std::filesystem::is_symlink(scratch / "link.wav"));
    EXPECT_EQ(std::filesystem::file_size(scratch / "other/real.wav"), 44u + 160000u * 441u / 10u * 4u);
    EXPECT_EQ(scratch.entries(), (std::vector<std::string>{"chain.wav", "link.wav", "other"}));
}

// What would fail only at the end of the run is refused before it: a name
// too long for the hidden temporary one beside it, and a file that a sticky
// folder keeps from being replaced (an ordinary user over root's file).
TEST(CaptureOutputs, WhatWouldFailAtTheEndIsRefusedBeforeAnyWork) {
    ScratchDir scratch;
    const std::string longName = scratch / (std::string(250, 'w') + ".wav");
    const ChildResult tooLong = runCapture("--fps 1 --wav " + longName);
    EXPECT_EQ(tooLong.exitCode, 2);
    EXPECT_NE(firstLine(tooLong.err).find("File name too long"), std::string::npos) << tooLong.err;
    EXPECT_TRUE(scratch.entries().empty());

    if (!runningAsRoot() || !programAvailable("setpriv")) GTEST_SKIP() << "needs root to act as another user";
    using std::filesystem::perms;
    std::filesystem::create_directory(scratch / "sticky");
    std::filesystem::permissions(scratch / "sticky", perms::all | perms::sticky_bit);
    { std::ofstream(scratch / "sticky/root.wav") << "root's"; }
    std::filesystem::permissions(scratch / "sticky/root.wav", perms::owner_read | perms::owner_write |
                                                                  perms::group_read | perms::group_write |
                                                                  perms::others_read | perms::others_write);
    ScratchDir data;
    copyDataFiles(data);
    std::filesystem::permissions(data.path(), perms::owner_all | perms::others_read | perms::others_exec,
                                 std::filesystem::perm_options::add);
    const ChildResult other =
        runProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", captureProgramPath(),
                    "--fps", "1", "--wav", scratch / "sticky/root.wav"},
                   std::chrono::minutes(2), {}, data.path());
    EXPECT_EQ(other.exitCode, 2) << other.err;
    EXPECT_EQ(firstLine(other.err), "demo_capture: cannot write the soundtrack file '" +
                                        (scratch / "sticky/root.wav") + "': Operation not permitted");
    EXPECT_EQ(readText(scratch / "sticky/root.wav"), "root's");
}

// An encoder that reads every frame and ends well but writes nothing.
TEST(CaptureOutputs, AnEncoderThatWritesNothingFailsTheRun) {
    ScratchDir scratch, tools;
    writeScript(tools / "ffmpeg", "#!/bin/sh\ncat > /dev/null\nexit 0\n");
    copyDataFiles(scratch);
    const std::vector<std::string> before = scratch.entries();
    const ChildResult run =
        runCapture("--fps 1 --video v.mp4", {{"PATH", tools.path() + ":/usr/bin:/bin"}}, scratch.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "demo_capture: ffmpeg ended without writing the video 'v.mp4'\n");
    EXPECT_EQ(scratch.entries(), before);
}

// A fake ffmpeg that notes its arguments, then writes a part of the video and
// fails with its own message, as ffmpeg does on an unknown protocol.
TEST(CaptureOutputs, FfmpegGetsPlainFileNamesAndItsOwnErrorIsTheMessage) {
    ScratchDir scratch, tools;
    writeScript(tools / "ffmpeg",
                "#!/bin/sh\n"
                "for a in \"$@\"; do echo \"$a\"; done > " +
                    (tools / "args.txt") +
                    "\n"
                    "for a in \"$@\"; do last=\"$a\"; done\n"
                    "head -c 1000 /dev/zero > \"${last#file:}\"\n"
                    "echo 'clip:1.mp4: Protocol not found' >&2\n"
                    "exit 1\n");
    copyDataFiles(scratch);
    const std::vector<std::string> before = scratch.entries();
    const ChildResult run = runCapture("--fps 1 --wav s:1.wav --video clip:1.mp4",
                                       {{"PATH", tools.path() + ":/usr/bin:/bin"}}, scratch.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "demo_capture: ffmpeg failed: clip:1.mp4: Protocol not found\n");
    EXPECT_EQ(scratch.entries(), before);
    // Every file name ffmpeg gets is in the file: form.
    const std::string args = readText(tools / "args.txt");
    EXPECT_NE(args.find("\n-i\nfile:./.s:1.wav."), std::string::npos) << args;
    EXPECT_NE(args.find("\nmp4\nfile:./.clip:1.mp4."), std::string::npos) << args;
}

TEST(CaptureOutputs, AColonInTheVideoNameMakesAPlainFile) {
    if (!programAvailable("ffmpeg") || !programAvailable("ffprobe"))
        GTEST_SKIP() << "ffmpeg is not installed";
    ScratchDir scratch;
    copyDataFiles(scratch);
    const ChildResult run = runCapture("--fps 1 --video clip:1.mp4", {}, scratch.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch / "clip:1.mp4"));
    const ChildResult probe = runProgram({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                                          "csv=p=0", "file:" + (scratch / "clip:1.mp4")},
                                         std::chrono::minutes(5));
    ASSERT_EQ(probe.exitCode, 0);
    EXPECT_NEAR(std::stod(probe.out), 160.0, 1.5);
}

}  // namespace
