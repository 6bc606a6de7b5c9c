// Outputs that are there already: each frame file is checked before any
// work, a link is written through, a replaced file keeps a narrower mode, and
// a frames folder moved during the run keeps its frames and no temporary file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

unsigned modeOf(const std::string& path) { return static_cast<unsigned>(fs::status(path).permissions()); }

TEST(CaptureFrameFiles, AFrameThatCannotBeReplacedIsRefusedBeforeAnyWork) {
    ScratchDir scratch;
    fs::create_directories(scratch / "f/frame_00001.ppm");
    const ChildResult folder = runCapture("--fps 1 --frames " + (scratch / "f") + " --only 1,3");
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_EQ(firstLine(folder.err), "demo_capture: cannot write the frame file '" +
                                         (scratch / "f/frame_00001.ppm") + "': Is a directory");
    EXPECT_FALSE(fs::exists(scratch / "f/frame_00003.ppm"));

    // Another user in a sticky folder cannot rename over root's frame 3:
    // known before frame 1 is written.
    if (!runningAsRoot() || !programAvailable("setpriv")) GTEST_SKIP() << "needs root to act as another user";
    fs::create_directory(scratch / "sticky");
    fs::permissions(scratch / "sticky", fs::perms::all | fs::perms::sticky_bit);
    { std::ofstream(scratch / "sticky/frame_00003.ppm") << "root's"; }
    fs::permissions(scratch / "sticky/frame_00003.ppm", fs::perms::owner_read | fs::perms::owner_write |
                                                            fs::perms::group_read | fs::perms::group_write |
                                                            fs::perms::others_read | fs::perms::others_write);
    fs::permissions(scratch.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    const ChildResult other =
        runProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", captureProgramPath(),
                    "--fps", "1", "--frames", scratch / "sticky", "--only", "1,3"},
                   std::chrono::minutes(2));
    EXPECT_EQ(other.exitCode, 2) << other.err;
    EXPECT_EQ(firstLine(other.err), "demo_capture: cannot write the frame file '" +
                                        (scratch / "sticky/frame_00003.ppm") + "': Operation not permitted");
    EXPECT_EQ(fs::directory_iterator(scratch / "sticky")->path().filename(), "frame_00003.ppm");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch / "sticky"), fs::directory_iterator()), 1);
}

// A frame file that is a link gets the frame in the file it reaches; a
// frames folder named with a separator at its end is made as any other.
TEST(CaptureFrameFiles, LinksAreWrittenThroughAndAFolderNameMayEndInASeparator) {
    ScratchDir scratch;
    fs::create_directories(scratch / "f");
    fs::create_directories(scratch / "other");
    { std::ofstream(scratch / "other/t.ppm") << "old"; }
    fs::create_symlink("../other/t.ppm", scratch / "f/frame_00002.ppm");
    const ChildResult linked = runCapture("--fps 1 --frames " + (scratch / "f") + " --only 2,3");
    ASSERT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(fs::is_symlink(scratch / "f/frame_00002.ppm"));
    EXPECT_EQ(fs::file_size(scratch / "other/t.ppm"), 921615u);
    EXPECT_EQ(readBytes(scratch / "other/t.ppm"), readBytes(scratch / "f/frame_00002.ppm"));
    EXPECT_EQ(fs::file_size(scratch / "f/frame_00003.ppm"), 921615u);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch / "other"), fs::directory_iterator()), 1);

    for (const std::string& dir : {std::string("new/"), std::string("./new2//"), scratch / "new3/"}) {
        const ChildResult run = runCapture("--fps 1 --frames " + dir + " --only 3", {}, scratch.path());
        EXPECT_EQ(run.exitCode, 0) << dir << ": " << run.err;
    }
    for (const char* dir : {"new", "new2", "new3"}) {
        EXPECT_TRUE(fs::is_regular_file(scratch / (std::string(dir) + "/frame_00003.ppm"))) << dir;
    }
}

// The replaced file's mode where narrower than the usual one; the output is
// a new file, so a hard link to the old one keeps the old content.
TEST(CaptureReplacedOutputs, KeepANarrowerModeAndAreNewFiles) {
    ScratchDir scratch;
    { std::ofstream(scratch / "p.wav") << "old"; }
    { std::ofstream(scratch / "wide.wav") << "old"; }
    fs::permissions(scratch / "p.wav", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(scratch / "wide.wav", fs::perms::all);
    fs::create_hard_link(scratch / "p.wav", scratch / "h.wav");
    for (const char* name : {"p.wav", "wide.wav"}) {
        const ChildResult run = runCapture("--fps 1 --wav " + (scratch / name), {}, "", "umask 022");
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_EQ(modeOf(scratch / "p.wav"), 0600u);
    EXPECT_EQ(modeOf(scratch / "wide.wav"), 0644u);
    EXPECT_EQ(readText(scratch / "h.wav"), "old");

    fs::create_directory(scratch / "f");
    { std::ofstream(scratch / "f/frame_00001.raw") << "old"; }
    fs::permissions(scratch / "f/frame_00001.raw", fs::perms::owner_read | fs::perms::owner_write);
    const ChildResult frames = runCapture("--fps 1 --raw --frames " + (scratch / "f") + " --only 1,2");
    ASSERT_EQ(frames.exitCode, 0) << frames.err;
    EXPECT_EQ(modeOf(scratch / "f/frame_00001.raw"), 0600u);
    EXPECT_EQ(fs::file_size(scratch / "f/frame_00001.raw"), 1228800u);
}

TEST(CaptureFrameFiles, AFramesFolderMovedDuringTheRunKeepsItsFramesAndNoTemporaryFile) {
    ScratchDir scratch;
    fs::create_directory(scratch / "gone");
    StartedProgram run({captureProgramPath(), "--fps", "10", "--raw", "--frames", scratch / "gone/f",
                        "--only", "3,800,1600"});
    ASSERT_TRUE(waitForFile(scratch / "gone/f", "frame_00003.raw", 20000));
    fs::rename(scratch / "gone", scratch / "moved");
    EXPECT_EQ(run.waitForExit(120000), 0) << run.errorOutput();
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch / "moved/f"))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"frame_00003.raw", "frame_00800.raw", "frame_01600.raw"}));
}

}  // namespace
