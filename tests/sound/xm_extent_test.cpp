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

}  // namespace
