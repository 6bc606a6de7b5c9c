// What the capture says: the name it was started by, the system's reason for
// an output it cannot write, a lost help text or no output at all as
// failures, and a progress bar that stays on one line of the terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "capture_test_support.h"
#include "progress.h"

namespace {

namespace fs = std::filesystem;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CaptureMessages, NameTheProgramAsStartedAndTheReason) {
    ScratchDir scratch, tools;
    fs::create_symlink(captureProgramPath(), scratch / "qzt-dmbl-capture");
    const ChildResult help = runProgram({scratch / "qzt-dmbl-capture", "--help"}, std::chrono::minutes(1));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: qzt-dmbl-capture [--fps N]", 0), 0u) << help.out;
    const ChildResult bad = runProgram({scratch / "qzt-dmbl-capture", "--fast"}, std::chrono::minutes(1));
    EXPECT_EQ(firstLine(bad.err), "qzt-dmbl-capture: unknown argument '--fast'");

    writeScript(tools / "ffmpeg", "#!/bin/sh\ncat > /dev/null\n");
    const ChildResult tmp =
        runCapture("--fps 1 --video " + (scratch / "v.mp4"),
                   {{"TMPDIR", "/nonexistent"}, {"PATH", tools.path() + ":/usr/bin:/bin"}});
    EXPECT_EQ(tmp.exitCode, 1);
    EXPECT_EQ(tmp.err,
              "demo_capture: cannot make a temporary soundtrack file in '/nonexistent': No such file or "
              "directory\n");

    if (!runningAsRoot() || !programAvailable("setpriv")) GTEST_SKIP() << "needs root to act as another user";
    fs::create_directory(scratch / "ro");
    fs::permissions(scratch.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    const ChildResult denied = runProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                           captureProgramPath(), "--wav", scratch / "ro/a.wav"},
                                          std::chrono::minutes(1));
    EXPECT_EQ(denied.exitCode, 2);
    EXPECT_EQ(denied.err, "demo_capture: cannot write the soundtrack file '" + (scratch / "ro/a.wav") +
                              "': Permission denied\n");
}

TEST(CaptureMessages, ALostHelpTextOrNoOutputAtAllIsAFailure) {
    const ChildResult full = runCapture("--help", {}, "", "exec > /dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "demo_capture: cannot write the help text: No space left on device\n");

    const ChildResult nothing = runCapture("--fps 1", {}, "", "", std::chrono::seconds(20));
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_EQ(firstLine(nothing.err), "demo_capture: nothing to write: give --frames, --wav or --video");
}

int columns80() { return 80; }
int columns40() { return 40; }
int columns12() { return 12; }
int columnsUnknown() { return 0; }

// Every drawing of the bar, at the longest frame counts, ends within the
// terminal's last column but one and never starts a new line.
TEST(CaptureProgress, TheBarFitsTheTerminalOnOneLine) {
    struct Terminal {
        Progress::ColumnsQuery columns;
        int usable;
    };
    for (const Terminal terminal : {Terminal{columns80, 79}, Terminal{columnsUnknown, 79},
                                    Terminal{columns40, 39}, Terminal{columns12, 11}}) {
        for (const int32_t total : {9601, 19201, 160001}) {
            std::FILE* stream = std::tmpfile();
            ASSERT_NE(stream, nullptr);
            Progress progress(stream, true, total, terminal.columns);
            progress.startFrames();
            progress.frameDone(total - 2);
            progress.finish(total, 60, 160000, "");
            std::rewind(stream);
            std::string text;
            for (int c; (c = std::fgetc(stream)) != EOF;) text += static_cast<char>(c);
            std::fclose(stream);
            const std::string bar = text.substr(0, text.rfind('\r'));
            EXPECT_EQ(bar.find('\n'), std::string::npos) << bar;
            std::istringstream drawings(bar);
            for (std::string drawing; std::getline(drawings, drawing, '\r');)
                EXPECT_LE(drawing.size(), size_t(terminal.usable)) << "[" << drawing << "]";
            if (terminal.usable >= 39) {
                EXPECT_NE(bar.find(std::to_string(total - 1) + "/" + std::to_string(total)),
                          std::string::npos)
                    << bar;
            }
        }
    }
}

}  // namespace
