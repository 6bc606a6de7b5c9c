// The inputs kept for each fuzz target in tests/fuzz/inputs/TARGET/ (the
// seeds, and every input that fuzzing found crashing or slow) run through
// their target again. A stall shows as the test's time-out.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_targets.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

using Target = void (*)(const uint8_t*, size_t);

int replayAll(const char* folder, Target target) {
    int replayed = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(FUZZ_INPUTS) / folder)) {
        const std::vector<uint8_t> bytes = readBytes(entry.path().string());
        target(bytes.data(), bytes.size());
        ++replayed;
    }
    return replayed;
}

TEST(FuzzRegressions, XmReader) { EXPECT_GT(replayAll("xm", fuzzXmExtent), 0); }

TEST(FuzzRegressions, ImageLoader) { EXPECT_GT(replayAll("image", fuzzImageLoader), 0); }

}  // namespace
