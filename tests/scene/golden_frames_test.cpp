// The composed frames at a handful of telling moments, at 50 and 60 frames
// per second, pinned by the SHA-256 of their raw pixel words. Every earlier
// frame of the run is composed too, since the jitter and the angles carry
// over from frame to frame.
//
// Something to look at when a hash no longer matches: every passing run
// keeps its frames in GOLDEN_WORK_DIR/passed; a failing one writes the
// composed frame and, against the last passed one, a difference picture
// (differing pixels magenta, the rest dimmed) into GOLDEN_WORK_DIR/failed,
// and names both files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "raster/frame_bytes.h"
#include "scene/frame_clock.h"
#include "scene/show.h"
#include "sha256.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

struct GoldenKey {
    int32_t fps;
    int32_t frame;
    bool operator<(const GoldenKey& o) const { return fps != o.fps ? fps < o.fps : frame < o.frame; }
};
using GoldenHashes = std::map<GoldenKey, std::string>;

struct ComposedFrame {
    std::string hash;
    std::vector<uint32_t> pixels;
};
using ComposedFrames = std::map<GoldenKey, ComposedFrame>;

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

ComposedFrame keep(const Image& picture) {
    std::vector<uint8_t> scratch(littleEndianByteCount(picture));
    const uint32_t* pixels = picture.getPixels();
    return {sha256Hex(littleEndianBytes(picture, scratch.data()), scratch.size()),
            std::vector<uint32_t>(pixels, pixels + picture.getWidth() * picture.getHeight())};
}

// Whole runs as the capture composes them: the data files from the working
// folder, frame k at its frame clock reading.
ComposedFrames composeGoldenFrames() {
    ComposedFrames frames;
    for (int32_t fps : {50, 60}) {
        const std::vector<int32_t> wanted = tellingFrames(fps);
        Show show;
        show.loadImages();
        show.setUp();
        int32_t frame = 0;
        for (; show.step(frameReading(frame, fps)).action != ShowAction::Stop; ++frame) {
            for (int32_t k : wanted) {
                if (k == frame) frames[{fps, frame}] = keep(show.frame());
            }
        }
        EXPECT_EQ(frame, makeFrameSchedule(fps).totalFrames);
    }
    return frames;
}

std::string pictureName(const GoldenKey& key, const char* kind) {
    return "frame_" + std::to_string(key.frame) + "_at_" + std::to_string(key.fps) + "fps" + kind + ".ppm";
}

void writePpm(const fs::path& path, const std::vector<uint32_t>& pixels) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << kScreenWidth << ' ' << kScreenHeight << "\n255\n";
    for (uint32_t p : pixels) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
        out.write(rgb, 3);
    }
}

// The RGB of a binary PPM of the frame's size; empty when there is none.
std::vector<uint32_t> readPpm(const fs::path& path) {
    const std::vector<uint8_t> bytes = readBytes(path.string());
    const std::string header =
        "P6\n" + std::to_string(kScreenWidth) + ' ' + std::to_string(kScreenHeight) + "\n255\n";
    const size_t count = size_t{kScreenWidth} * kScreenHeight;
    if (bytes.size() != header.size() + 3 * count || !std::equal(header.begin(), header.end(), bytes.begin()))
        return {};
    std::vector<uint32_t> pixels(count);
    const uint8_t* rgb = bytes.data() + header.size();
    for (size_t i = 0; i < count; ++i)
        pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    return pixels;
}

// Pixels whose RGB differs from the reference in magenta, the others at a
// quarter of their brightness. Returns how many differ.
size_t differencePicture(const std::vector<uint32_t>& composed, const std::vector<uint32_t>& reference,
                         std::vector<uint32_t>& picture) {
    size_t differing = 0;
    picture.resize(composed.size());
    for (size_t i = 0; i < composed.size(); ++i) {
        const bool differs = (composed[i] & 0x00FFFFFF) != reference[i];
        differing += differs;
        picture[i] = differs ? 0x00FF00FF : (composed[i] >> 2) & 0x003F3F3F;
    }
    return differing;
}

// The files a maintainer looks at for one frame that lost its hash.
std::string writeMismatchPictures(const GoldenKey& key, const ComposedFrame& frame) {
    const fs::path failed = fs::path(GOLDEN_WORK_DIR) / "failed";
    fs::create_directories(failed);
    const fs::path composedPath = failed / pictureName(key, "");
    writePpm(composedPath, frame.pixels);
    std::string text = "the composed frame is " + composedPath.string();
    const fs::path passedPath = fs::path(GOLDEN_WORK_DIR) / "passed" / pictureName(key, "");
    const std::vector<uint32_t> reference = readPpm(passedPath);
    if (reference.empty())
        return text + "; no passed frame in " + passedPath.parent_path().string() + " to compare with";
    std::vector<uint32_t> difference;
    const size_t differing = differencePicture(frame.pixels, reference, difference);
    const fs::path differencePath = failed / pictureName(key, "_difference");
    writePpm(differencePath, difference);
    return text + "; " + std::to_string(differing) + " pixels differ from " + passedPath.string() +
           ", in magenta in " + differencePath.string();
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
    const ComposedFrames composed = composeGoldenFrames();
    ASSERT_EQ(composed.size(), 14u);
    GoldenHashes hashes;
    for (const auto& [key, frame] : composed) hashes[key] = frame.hash;
    const char* record = std::getenv("GOLDEN_RECORD");
    if (record != nullptr && std::string(record) == "1") {
        writeGoldenFile(hashes);
        GTEST_SKIP() << "recorded " << hashes.size() << " hashes into " << GOLDEN_FRAMES_FILE;
    }
    const GoldenHashes pinned = readGoldenFile();
    ASSERT_EQ(pinned.size(), composed.size()) << "missing or short " << GOLDEN_FRAMES_FILE;
    const fs::path passed = fs::path(GOLDEN_WORK_DIR) / "passed";
    fs::create_directories(passed);
    fs::remove_all(fs::path(GOLDEN_WORK_DIR) / "failed");  // pictures of an earlier failure
    for (const auto& [key, frame] : composed) {
        if (frame.hash == pinned.at(key)) {
            writePpm(passed / pictureName(key, ""), frame.pixels);
            continue;
        }
        ADD_FAILURE() << "frame " << key.frame << " at " << key.fps << " fps has the hash " << frame.hash
                      << ", pinned " << pinned.at(key) << ": " << writeMismatchPictures(key, frame);
    }
}

}  // namespace
