// The soundtrack as libopenmpt plays it at 44.1 kHz stereo: it loads
// cleanly, lasts past the demo's end, never clips, never falls silent
// before the outro, and its sections meet the picture's times.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "support/files.h"

namespace {

constexpr int kRate = 44100;

// Level of the song in blocks of half a second.
struct Rendering {
    std::vector<double> blockRms;
    double peak = 0.0;
};
constexpr double kBlockSeconds = 0.5;

Rendering renderSong() {
    openmpt::module song(readBytes("qzt_dmbl.xm"));
    Rendering out;
    const size_t blockFrames = static_cast<size_t>(kRate * kBlockSeconds);
    std::vector<float> left(blockFrames), right(blockFrames);
    for (;;) {
        const size_t n = song.read(kRate, blockFrames, left.data(), right.data());
        if (n == 0) break;
        double sum = 0.0;
        for (size_t i = 0; i < n; ++i) {
            sum += double(left[i]) * left[i] + double(right[i]) * right[i];
            out.peak = std::max({out.peak, double(std::fabs(left[i])), double(std::fabs(right[i]))});
        }
        out.blockRms.push_back(std::sqrt(sum / double(2 * n)));
    }
    return out;
}

const Rendering& rendering() {
    static const Rendering r = renderSong();
    return r;
}

double levelBetween(double fromSeconds, double toSeconds) {
    const auto& blocks = rendering().blockRms;
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = size_t(fromSeconds / kBlockSeconds);
         i < size_t(toSeconds / kBlockSeconds) && i < blocks.size(); ++i) {
        sum += blocks[i] * blocks[i];
        ++count;
    }
    return count ? std::sqrt(sum / double(count)) : 0.0;
}

TEST(MusicModule, LoadsWithoutAnyMessageAndLastsPastTheDemo) {
    std::ostringstream log;
    openmpt::module song(readBytes("qzt_dmbl.xm"), log);
    EXPECT_EQ(log.str(), "");
    EXPECT_EQ(song.get_metadata("type"), "xm");
    EXPECT_EQ(song.get_num_channels(), 12);
    EXPECT_GE(song.get_duration_seconds(), 165.0);
}

TEST(MusicModule, SectionsStartWithinABeatOfThePicturesTimes) {
    openmpt::module song(readBytes("qzt_dmbl.xm"));
    // One bar of 16 rows: the build starts at bar 20, the drop at 30, the outro at 75.
    const std::pair<int, double> sections[] = {{20, 40.0}, {30, 60.0}, {75, 150.0}};
    const double beatSeconds = 0.5;
    for (const auto& [order, seconds] : sections)
        EXPECT_NEAR(song.set_position_order_row(order, 0), seconds, beatSeconds) << "order " << order;
}

TEST(MusicModule, PeakStaysBelowFullScale) {
    EXPECT_GT(rendering().peak, 0.25);
    EXPECT_LT(rendering().peak, 0.95);
}

TEST(MusicModule, NoTwoSecondWindowIsSilentBeforeTheOutro) {
    const size_t windowBlocks = size_t(2.0 / kBlockSeconds);
    ASSERT_GE(rendering().blockRms.size(), size_t(150.0 / kBlockSeconds));
    for (size_t start = 0; start + windowBlocks <= size_t(150.0 / kBlockSeconds); ++start) {
        const double from = double(start) * kBlockSeconds;
        EXPECT_GT(levelBetween(from, from + 2.0), 0.01) << "window from " << from << " s";
    }
}

TEST(MusicModule, GetsLouderAtTheBuildAndAgainAtTheDrop) {
    const double intro = levelBetween(0.0, 40.0);
    const double build = levelBetween(40.0, 56.0);
    const double drop = levelBetween(60.0, 80.0);
    EXPECT_GT(build, intro * 1.2);
    EXPECT_GT(drop, build * 1.2);
    EXPECT_GT(drop, intro * 1.8);
}

}  // namespace
