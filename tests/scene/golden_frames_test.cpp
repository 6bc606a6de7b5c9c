// The composed frames at a handful of telling moments, at 50 and 60 frames
// per second, pinned by the SHA-256 of their raw pixel words. Every earlier
// frame of the run is composed too, since the jitter and the angles carry
// over from frame to frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frame_schedule.h"
#include "sha256.h"
#include "support/files.h"
#include "timeline_replay.h"

namespace {

struct GoldenKey {
    int32_t fps;
    int32_t frame;
    bool operator<(const GoldenKey& o) const { return fps != o.fps ? fps < o.fps : frame < o.frame; }
};
using GoldenHashes = std::map<GoldenKey, std::string>;

// First frame whose reading is above ms.
int32_t firstFrameAfter(int32_t ms, int32_t fps) {
    int32_t k = 0;
    while (frameReading(k, fps) <= ms) ++k;
    return k;
}

// First frame, early scroller, first jittered frame, strong wave, last show
// frame, first fade frame and well into the fade (the picture is black by 152 s).
std::vector<int32_t> tellingFrames(int32_t fps) {
    const FrameSchedule schedule = makeFrameSchedule(fps);
    return {0,
            firstFrameAfter(5000, fps),
            firstFrameAfter(40000, fps),
            firstFrameAfter(100000, fps),
            schedule.showFrames - 1,
            schedule.showFrames,
            firstFrameAfter(151000, fps)};
}

std::string frameHash(const Image& picture) {
    const int32_t count = picture.getWidth() * picture.getHeight();
    std::vector<uint8_t> bytes(size_t(count) * 4);
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t p = picture.getPixels()[i];
        for (int b = 0; b < 4; ++b) bytes[size_t(i) * 4 + b] = uint8_t(p >> (8 * b));
    }
    return assetgen::sha256Hex(bytes);
}

class HashingSink : public FrameSink {
public:
    HashingSink(int32_t fps, GoldenHashes& into) : fps(fps), wanted(tellingFrames(fps)), hashes(into) {}
    bool present(int32_t frame, const Image& picture) override {
        for (int32_t k : wanted) {
            if (k == frame) hashes[{fps, frame}] = frameHash(picture);
        }
        return true;
    }

private:
    int32_t fps;
    std::vector<int32_t> wanted;
    GoldenHashes& hashes;
};

GoldenHashes composeGoldenFrames() {
    GoldenHashes hashes;
    for (int32_t fps : {50, 60}) {
        TimelineReplay replay;
        HashingSink sink(fps, hashes);
        EXPECT_EQ(replay.run(fps, sink), makeFrameSchedule(fps).totalFrames);
    }
    return hashes;
}

GoldenHashes readGoldenFile() {
    GoldenHashes hashes;
    std::istringstream in(readText(GOLDEN_FRAMES_FILE));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenKey key{};
        std::string hash;
        if (fields >> key.fps >> key.frame >> hash) hashes[key] = hash;
    }
    return hashes;
}

void writeGoldenFile(const GoldenHashes& hashes) {
    std::ofstream out(GOLDEN_FRAMES_FILE);
    out << "# fps frame sha256 of the raw frame (640x480 32-bit words, little-endian)\n";
    for (const auto& [key, hash] : hashes) out << key.fps << ' ' << key.frame << ' ' << hash << '\n';
}

TEST(GoldenFrames, ComposedFramesHaveThePinnedHashes) {
    const GoldenHashes composed = composeGoldenFrames();
    ASSERT_EQ(composed.size(), 14u);
    const char* record = std::getenv("GOLDEN_RECORD");
    if (record != nullptr && std::string(record) == "1") {
        writeGoldenFile(composed);
        GTEST_SKIP() << "recorded " << composed.size() << " hashes into " << GOLDEN_FRAMES_FILE;
    }
    const GoldenHashes pinned = readGoldenFile();
    ASSERT_EQ(pinned.size(), composed.size()) << "missing or short " << GOLDEN_FRAMES_FILE;
    for (const auto& [key, hash] : composed) {
        EXPECT_EQ(hash, pinned.at(key)) << "frame " << key.frame << " at " << key.fps << " fps";
    }
}

}  // namespace
