// Where the capture finds its data: beside its own program file when the
// working folder lacks some of the data files, and the outputs still go to
// the working folder. A program folder is a scratch folder with a copy of
// demo_capture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "capture_test_support.h"
#include "scene/data_files.h"

namespace {

constexpr char kArgs[] = "--fps 10 --raw --frames f --only 0,300,1590 --wav s.wav";

// A copy of demo_capture with the data files beside it.
struct ProgramFolder {
    ScratchDir dir;
    ProgramFolder() {
        copyDataFiles(dir);
        std::filesystem::copy_file("demo_capture", dir / "demo_capture");
    }
    ChildResult run(const std::string& args, const std::string& workDir) const {
        std::vector<std::string> argv = words(args);
        argv.insert(argv.begin(), dir / "demo_capture");
        return runProgram(argv, std::chrono::minutes(10), {}, workDir);
    }
};

// The summary line without the time the run took.
std::string withoutTimes(const std::string& err) {
    static const std::regex times(" in [0-9.]+ s, frames [0-9]+/s \\([0-9.]+x real time\\)");
    return std::regex_replace(err, times, "");
}

void expectSameFile(const std::string& a, const std::string& b) {
    const std::vector<uint8_t> bytes = readBytes(a);
    EXPECT_FALSE(bytes.empty()) << a;
    EXPECT_TRUE(bytes == readBytes(b)) << a << " and " << b << " differ";
}

TEST(CaptureDataFolder, AnEmptyWorkingFolderReadsTheDataBesideTheProgramAndGetsTheOutputs) {
    ProgramFolder program;
    ScratchDir work, dataWork;
    copyDataFiles(dataWork);
    const ChildResult away = program.run(kArgs, work.path());
    const ChildResult home = program.run(kArgs, dataWork.path());
    ASSERT_EQ(away.exitCode, 0) << away.err;
    ASSERT_EQ(home.exitCode, 0) << home.err;
    EXPECT_EQ(work.entries(), (std::vector<std::string>{"f", "s.wav"}));
    for (const char* frame : {"f/frame_00000.raw", "f/frame_00300.raw", "f/frame_01590.raw"}) {
        expectSameFile(work / frame, dataWork / frame);
    }
    expectSameFile(work / "s.wav", dataWork / "s.wav");
    EXPECT_EQ(away.out, home.out) << "nothing extra on standard output";
    EXPECT_EQ(withoutTimes(away.err), withoutTimes(home.err)) << "nothing extra on standard error";
    EXPECT_EQ(program.dir.entries().size(), 6u) << "nothing written beside the program";
}

TEST(CaptureDataFolder, TheDataBesideTheProgramAreNamedWithTheirFolder) {
    ProgramFolder program;
    ScratchDir work;
    const std::string song = program.dir / kSongFileName;
    const ChildResult refused = program.run("--wav " + song, work.path());
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err.substr(0, refused.err.find('\n')),
              "demo_capture: --wav names the data file '" + song + "', which the capture reads");

    std::filesystem::resize_file(program.dir / kBackgroundFile.name, 100);
    const ChildResult damaged = program.run("--fps 1 --frames f --only 0", work.path());
    EXPECT_EQ(damaged.exitCode, 0) << damaged.err;
    EXPECT_NE(damaged.err.find("demo_capture: the image '" + (program.dir / kBackgroundFile.name) +
                               "' has 100 bytes, expected 921600 bytes\n"),
              std::string::npos)
        << damaged.err;
    EXPECT_EQ(damaged.out, "");
    EXPECT_TRUE(std::filesystem::is_regular_file(work / "f/frame_00000.ppm"));
}

// A stray file named like a data file (a damaged background, the other
// files missing) does not hide the data beside the program.
TEST(CaptureDataFolder, AWorkingFolderWithoutTheCompleteSetIsPassedOver) {
    ProgramFolder program;
    ScratchDir work;
    std::ofstream(work / kBackgroundFile.name).put('x');
    const ChildResult run = program.run("--fps 1 --frames f --only 0", work.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "") << "no loader message";
    EXPECT_EQ(run.err.find("welt.raw"), std::string::npos) << run.err;
    EXPECT_EQ(work.entries(), (std::vector<std::string>{"f", "welt.raw"}));
}

}  // namespace
