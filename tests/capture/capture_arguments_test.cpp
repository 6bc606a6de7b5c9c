// Bad command lines and a missing encoder: a plain message, the exit code,
// and nothing written.
#include <gtest/gtest.h>

#include <fstream>

#include "capture_test_support.h"
#include "support/files.h"

namespace {

struct BadLine {
    std::string args;     // {dir} stands for the scratch folder
    std::string message;  // the first line of standard error
    bool usage = true;    // the usage text follows: a bad argument, not an output that cannot be written
};

std::string expand(std::string text, const std::string& dir) {
    for (size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir);
    return text;
}

TEST(CaptureArguments, EachBadLineGivesItsMessageAndExitTwoWritingNothing) {
    const std::vector<BadLine> lines = {
        {"--fast", "unknown argument '--fast'"},
        {"--fps 0", "--fps must be a whole number from 1 to 1000, not '0'"},
        {"--fps 1001", "--fps must be a whole number from 1 to 1000, not '1001'"},
        {"--fps 12x", "--fps must be a whole number from 1 to 1000, not '12x'"},
        {"--fps", "--fps needs a value"},
        {"--raw", "--raw needs --frames"},
        {"--only 3", "--only needs --frames"},
        {"--size 1280x960", "--size needs --video"},
        {"--frames {dir}/f --only 9601",
         "--only: frame 9601 is outside the timeline (frames 0 to 9600 at 60 fps)"},
        {"--fps 50 --frames {dir}/f --only 1,-2",
         "--only needs frame indices separated by commas, not '1,-2'"},
        {"--video {dir}/v.mp4 --size 641x480",
         "--size must be WxH with even sides from 2 to 4096, not '641x480'"},
        {"--video {dir}/v.mp4 --size 4098x480",
         "--size must be WxH with even sides from 2 to 4096, not '4098x480'"},
        {"--video {dir}/v.mp4 --crf 52", "--crf must be a whole number from 0 to 51, not '52'"},
        {"--video {dir}/v.mp4 --preset fastest",
         "--preset must be one of ultrafast, superfast, veryfast, faster, fast, medium, slow, slower, "
         "veryslow, placebo, not 'fastest'"},
        {"--video {dir}/v.mp4 --chroma 422", "--chroma must be 420 or 444, not '422'"},
        {"--lossless", "--lossless needs --video"},
        {"--video {dir}/v.mkv --lossless --crf 0", "--crf does not apply to --lossless"},
        {"--video {dir}/v.mp4 --lossless",
         "--lossless writes a Matroska video: its name must end in .mkv, not '{dir}/v.mp4'"},
        // Outputs that cannot be written say why, without the usage.
        {"--frames {dir}/missing/f",
         "cannot write frames into the folder '{dir}/missing/f': No such file or directory", false},
        {"--frames {dir}/plain/f", "cannot write frames into the folder '{dir}/plain/f': Not a directory",
         false},
        {"--wav {dir}/plain/s.wav", "cannot write the soundtrack file '{dir}/plain/s.wav': Not a directory",
         false},
        {"--video {dir}/plain/v.mp4", "cannot write the video file '{dir}/plain/v.mp4': Not a directory",
         false},
        {"--wav {dir}", "cannot write the soundtrack file '{dir}': Is a directory", false},
        {"--wav {dir}/missing/", "cannot write the soundtrack file '{dir}/missing/': Is a directory", false},
        {"--wav {dir}/missing/s.wav",
         "cannot write the soundtrack file '{dir}/missing/s.wav': No such file or directory", false},
    };
    for (const BadLine& line : lines) {
        ScratchDir scratch;
        { std::ofstream(scratch / "plain") << "a file, not a folder"; }
        // Good outputs beside the bad argument must not be written either.
        const bool namesSoundtrack = line.args.find("--wav") != std::string::npos;
        const std::string args = (namesSoundtrack ? "" : "--wav " + (scratch / "ok.wav") + " ") +
                                 expand(line.args, scratch.path());
        const ChildResult run = runCapture(args);
        EXPECT_EQ(run.exitCode, 2) << line.args;
        const std::string firstLine = run.err.substr(0, run.err.find('\n'));
        EXPECT_EQ(firstLine, "demo_capture: " + expand(line.message, scratch.path())) << line.args;
        EXPECT_EQ(run.err.find("\nusage: demo_capture [--fps N]") != std::string::npos, line.usage)
            << line.args;
        EXPECT_EQ(run.out, "") << line.args;
        EXPECT_EQ(scratch.entries(), std::vector<std::string>{"plain"}) << line.args;
    }
}

TEST(CaptureArguments, WithoutFfmpegTheVideoStopsBeforeAnyWork) {
    ScratchDir scratch;
    const ChildResult run = runCapture(
        "--video " + (scratch / "v.mp4") + " --wav " + (scratch / "s.wav") + " --frames " + (scratch / "f"),
        {{"PATH", "/nonexistent"}});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("demo_capture: --video needs the program ffmpeg, which is not installed", 0), 0u)
        << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(scratch.entries().empty());
}

// --version prints the file VERSION and renders nothing.
TEST(CaptureArguments, VersionPrintsTheVersionFile) {
    const std::string version = readText(DEMO_VERSION_FILE);
    ASSERT_FALSE(version.empty());
    for (const std::string args : {"--version", "--fps 30 --version"}) {
        const ChildResult run = runCapture(args);
        EXPECT_EQ(run.exitCode, 0) << args;
        EXPECT_EQ(run.out, version) << args;
        EXPECT_EQ(run.err, "") << args;
    }
}

}  // namespace
