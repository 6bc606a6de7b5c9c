// The size an XM module's headers declare, against the file's own size.
#include <gtest/gtest.h>

#include <cstring>

#include "sound/xm_extent.h"
#include "tone_module.h"

namespace {

XmExtent measure(const std::vector<uint8_t>& bytes) { return measureXmExtent(bytes.data(), bytes.size()); }

TEST(XmExtent, AWholeModuleIsCompleteAlsoWithBytesAfterItsEnd) {
    std::vector<uint8_t> module = makeToneModule();
    const XmExtent whole = measure(module);
    EXPECT_TRUE(whole.isXm);
    EXPECT_TRUE(whole.complete);
    EXPECT_EQ(whole.declaredBytes, module.size());
    module.resize(module.size() + 100);
    EXPECT_TRUE(measure(module).complete);
}

TEST(XmExtent, EveryCutIsFoundWhereverItFalls) {
    const std::vector<uint8_t> module = makeToneModule();
    for (size_t size = 17; size < module.size(); ++size) {
        const std::vector<uint8_t> cut(module.begin(), module.begin() + static_cast<ptrdiff_t>(size));
        const XmExtent extent = measure(cut);
        EXPECT_FALSE(extent.complete) << size;
        EXPECT_GT(extent.declaredBytes, size) << size;
        EXPECT_LE(extent.declaredBytes, module.size()) << size;
    }
}

TEST(XmExtent, ASignatureBeforeRandomBytesIsNotWholeAndOtherFilesAreNoXm) {
    std::vector<uint8_t> noise(4000);
    uint32_t state = 12345;
    for (uint8_t& b : noise) b = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16);
    EXPECT_FALSE(measure(noise).isXm);
    std::memcpy(noise.data(), "Extended Module: ", 17);
    EXPECT_TRUE(measure(noise).isXm);
    EXPECT_FALSE(measure(noise).complete);
    EXPECT_FALSE(measure({}).isXm);
}

// Headers that declare the most parts that take no room, or tiny ones, in a
// small file: the walk reads a few fields per byte at most, whatever the
// counts say (such a file once took 65535 x 65535 steps).
TEST(XmExtent, CraftedCountsCostAtMostAFewReadsPerByte) {
    auto crafted = [](size_t size, std::initializer_list<std::pair<size_t, uint16_t>> fields) {
        std::vector<uint8_t> bytes(size);
        std::memcpy(bytes.data(), "Extended Module: ", 17);
        for (const auto& [at, value] : fields) {
            bytes[at] = static_cast<uint8_t>(value);
            bytes[at + 1] = static_cast<uint8_t>(value >> 8);
        }
        return bytes;
    };
    const std::vector<std::vector<uint8_t>> files = {
        // 65535 instruments of 65535 samples whose headers have size 0.
        crafted(93, {{72, 0xFFFF}, {87, 0xFFFF}}),
        // 65535 empty patterns.
        crafted(93, {{70, 0xFFFF}}),
        // Sample headers of one byte, every sample length 0, in 64 KB.
        crafted(65536, {{72, 0xFFFF}, {87, 0xFFFF}, {89, 1}}),
        // Patterns one byte long.
        crafted(4096, {{70, 0xFFFF}, {60, 0}, {67, 1}}),
    };
    for (const std::vector<uint8_t>& file : files) {
        const XmExtent extent = measure(file);
        EXPECT_TRUE(extent.isXm);
        EXPECT_LE(extent.fieldsRead, 5 * file.size() + 16) << file.size() << " bytes";
    }
}

}  // namespace
