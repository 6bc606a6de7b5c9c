// The parsing of demo_capture's command line into options.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "capture_options.h"

namespace {

bool parse(std::vector<std::string> args, CaptureOptions& options, std::string& error) {
    args.insert(args.begin(), "demo_capture");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return parseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(CaptureOptions, ReadsEveryOption) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(
        parse({"--fps", "50", "--frames", "out", "--raw", "--only", "8000,3,3,0", "--wav", "a.wav", "--video",
               "v.mp4", "--size", "1280x960", "--crf", "20", "--preset", "slow", "--chroma", "444"},
              o, error))
        << error;
    EXPECT_EQ(o.fps, 50);
    EXPECT_EQ(o.framesDir, "out");
    EXPECT_TRUE(o.rawFrames);
    EXPECT_EQ(o.onlyFrames, (std::vector<int32_t>{0, 3, 8000}));
    EXPECT_EQ(o.wavFile, "a.wav");
    EXPECT_EQ(o.videoFile, "v.mp4");
    EXPECT_EQ(o.videoWidth, 1280);
    EXPECT_EQ(o.videoHeight, 960);
    EXPECT_EQ(o.videoQuality.crf, 20);
    EXPECT_EQ(o.videoQuality.preset, "slow");
    EXPECT_TRUE(o.videoQuality.fullChroma);
    EXPECT_FALSE(o.videoQuality.lossless);
    // The largest size, and the lossless master under a Matroska name in any case.
    CaptureOptions master;
    ASSERT_TRUE(parse({"--video", "m.MKV", "--lossless", "--size", "4096x4096"}, master, error)) << error;
    EXPECT_TRUE(master.videoQuality.lossless);
    EXPECT_EQ(master.videoWidth, 4096);
}

TEST(CaptureOptions, DefaultsAndTheLastFrameOfTheTimeline) {
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--frames", "f", "--only", "9600"}, o, error)) << error;
    EXPECT_EQ(o.fps, 60);
    EXPECT_FALSE(o.rawFrames);
    EXPECT_EQ(o.videoWidth, 640);
    EXPECT_EQ(o.videoHeight, 480);
    CaptureOptions past;
    EXPECT_FALSE(parse({"--frames", "f", "--only", "9601"}, past, error));
    // The check uses the frame rate, wherever it stands on the line.
    CaptureOptions later;
    EXPECT_TRUE(parse({"--frames", "f", "--only", "8000", "--fps", "50"}, later, error)) << error;
    CaptureOptions beyond;
    EXPECT_FALSE(parse({"--frames", "f", "--only", "8001", "--fps", "50"}, beyond, error));
}

}  // namespace

namespace {

// The option names a text lists: "--name" after a line's leading blanks (the
// help text) or after a roff paragraph's ".B"/".BI" with "\-\-" (the manual page).
std::set<std::string> optionsListed(const std::string& text, const std::string& lineStart) {
    std::set<std::string> names;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(lineStart, 0) != 0) continue;
        size_t end = lineStart.size();
        while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '-'))
            ++end;
        names.insert(line.substr(lineStart.size(), end - lineStart.size()));
    }
    return names;
}

// The help text and the manual page list the same options.
TEST(CaptureOptions, HelpAndManualPageListTheSameOptions) {
    std::ifstream file(CAPTURE_MANUAL_PAGE);
    ASSERT_TRUE(file) << CAPTURE_MANUAL_PAGE;
    const std::string page{std::istreambuf_iterator<char>(file), {}};
    std::set<std::string> inPage = optionsListed(page, ".B \\-\\-");
    inPage.merge(optionsListed(page, ".BI \\-\\-"));
    const std::set<std::string> inHelp = optionsListed(kCaptureOptionsText, "  --");
    EXPECT_FALSE(inHelp.empty());
    for (const std::string& name : inHelp)
        EXPECT_TRUE(inPage.count(name)) << "--" << name << " not in the manual page";
    for (const std::string& name : inPage)
        EXPECT_TRUE(inHelp.count(name)) << "--" << name << " not in --help";
}

}  // namespace
