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
    };
    for (const Refusal& refusal : refusals) {
        ScratchDir scratch;
        copyDataFiles(scratch);
        std::filesystem::create_directory(scratch / "sub");
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
        {"--frames /proc/self", "cannot write frames into the folder '/proc/self'"},
    };
    for (const Refusal& refusal : refusals) {
        ScratchDir scratch;
        const ChildResult run = runCapture(refusal.args);
        EXPECT_EQ(run.exitCode, 2) << refusal.args;
        EXPECT_EQ(firstLine(run.err), "demo_capture: " + refusal.message) << refusal.args;
        EXPECT_EQ(run.out, "") << refusal.args;
    }
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
