#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "display/converters.h"

namespace {

struct Layout {
    const char* name;
    RowConverter converter;
    uint32_t bitCount, red, green, blue;
};

const Layout kLayouts[] = {
    {"Xrgb32", convertRowXrgb32, 32, 0xFF0000, 0xFF00, 0xFF},
    {"Xbgr32", convertRowXbgr32, 32, 0xFF, 0xFF00, 0xFF0000},
    {"Rgb24", convertRowRgb24, 24, 0xFF0000, 0xFF00, 0xFF},
    {"Bgr24", convertRowBgr24, 24, 0xFF, 0xFF00, 0xFF0000},
    {"Rgb565", convertRowRgb565, 16, 0xF800, 0x07E0, 0x001F},
    {"Bgr565", convertRowBgr565, 16, 0x001F, 0x07E0, 0xF800},
    {"Rgb555", convertRowRgb555, 16, 0x7C00, 0x03E0, 0x001F},
    {"Bgr555", convertRowBgr555, 16, 0x001F, 0x03E0, 0x7C00},
};

// Reads destination pixel i back as a little-endian value.
uint32_t readBack(const std::vector<uint8_t>& bytes, uint32_t bitCount, size_t i) {
    size_t size = bitCount / 8;
    uint32_t v = 0;
    for (size_t b = 0; b < size; ++b) v |= uint32_t{bytes[i * size + b]} << (8 * b);
    return v;
}

uint32_t convertOne(const Layout& l, uint32_t pixel) {
    std::vector<uint8_t> out(8, 0xAA);
    l.converter(&pixel, out.data(), 1);
    return readBack(out, l.bitCount, 0);
}

TEST(Converters, KnownValuesInEveryLayout) {
    // Per layout: white, red, blue, 0x00123456, 0x00070307, 0x00080408.
    const std::array<uint32_t, 6> inputs = {0x00FFFFFF, 0x00FF0000, 0x000000FF,
                                            0x00123456, 0x00070307, 0x00080408};
    const std::array<std::array<uint32_t, 6>, 8> expected = {{
        {0x00FFFFFF, 0x00FF0000, 0x000000FF, 0x00123456, 0x00070307, 0x00080408},
        {0x00FFFFFF, 0x000000FF, 0x00FF0000, 0x00563412, 0x00070307, 0x00080408},
        {0xFFFFFF, 0xFF0000, 0x0000FF, 0x123456, 0x070307, 0x080408},
        {0xFFFFFF, 0x0000FF, 0xFF0000, 0x563412, 0x070307, 0x080408},
        {0xFFFF, 0xF800, 0x001F, 0x11AA, 0x0000, 0x0821},
        {0xFFFF, 0x001F, 0xF800, 0x51A2, 0x0000, 0x0821},
        {0x7FFF, 0x7C00, 0x001F, 0x08CA, 0x0000, 0x0401},
        {0x7FFF, 0x001F, 0x7C00, 0x28C2, 0x0000, 0x0401},
    }};
    for (size_t l = 0; l < 8; ++l)
        for (size_t i = 0; i < inputs.size(); ++i)
            EXPECT_EQ(convertOne(kLayouts[l], inputs[i]), expected[l][i]) << kLayouts[l].name << " " << i;
}

TEST(Converters, TopByteOnlyPassesThroughXrgb32) {
    EXPECT_EQ(convertOne(kLayouts[0], 0xFF123456), 0xFF123456u);
    for (size_t l = 1; l < 8; ++l)
        EXPECT_EQ(convertOne(kLayouts[l], 0xFF123456), convertOne(kLayouts[l], 0x00123456))
            << kLayouts[l].name;
}

TEST(Converters, WriteExactlyCountPixelsInSourceOrder) {
    std::vector<uint32_t> source(7);
    for (size_t i = 0; i < source.size(); ++i) source[i] = 0x00102030u * uint32_t(i + 1) + 0x00080808u;
    for (const Layout& l : kLayouts) {
        size_t size = l.bitCount / 8;
        for (uint32_t n : {0u, 1u, 7u}) {
            std::vector<uint8_t> out(7 * size + 4, 0xAA);
            l.converter(source.data(), out.data(), n);
            for (size_t b = n * size; b < out.size(); ++b) ASSERT_EQ(out[b], 0xAA) << l.name << " n=" << n;
            for (uint32_t i = 0; i < n; ++i)
                EXPECT_EQ(readBack(out, l.bitCount, i), convertOne(l, source[i])) << l.name;
            for (uint32_t i = 1; i < n; ++i)
                EXPECT_NE(readBack(out, l.bitCount, i), readBack(out, l.bitCount, i - 1)) << l.name;
        }
    }
}

TEST(SelectRowConverter, MatchesExactlyTheEightLayouts) {
    for (const Layout& l : kLayouts)
        EXPECT_EQ(selectRowConverter(l.bitCount, l.red, l.green, l.blue), l.converter) << l.name;
    EXPECT_EQ(selectRowConverter(8, 0, 0, 0), nullptr);
    EXPECT_EQ(selectRowConverter(32, 0xFF0000, 0xFF00, 0xFE), nullptr);
    EXPECT_EQ(selectRowConverter(24, 0xF800, 0x07E0, 0x001F), nullptr);
    EXPECT_EQ(selectRowConverter(15, 0x7C00, 0x03E0, 0x001F), nullptr);
}

}  // namespace
