// Every converter against a per-channel reference on whole rows: all lengths
// that reach the block loops and their remainders, source and destination
// at every offset within a 16-byte block, pixels with random top bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "display/converters.h"

namespace {

// A layout written out channel by channel: the bit position and width of
// red, green and blue in the destination value of bytesPerPixel bytes.
struct Reference {
    const char* name;
    RowConverter converter;
    uint32_t bytesPerPixel;
    uint32_t redAt, redBits, greenAt, greenBits, blueAt, blueBits;
};

const Reference kReferences[] = {
    {"Xrgb32", convertRowXrgb32, 4, 16, 8, 8, 8, 0, 8},
    {"Xbgr32", convertRowXbgr32, 4, 0, 8, 8, 8, 16, 8},
    {"Rgb24", convertRowRgb24, 3, 16, 8, 8, 8, 0, 8},
    {"Bgr24", convertRowBgr24, 3, 0, 8, 8, 8, 16, 8},
    {"Rgb565", convertRowRgb565, 2, 11, 5, 5, 6, 0, 5},
    {"Bgr565", convertRowBgr565, 2, 0, 5, 5, 6, 11, 5},
    {"Rgb555", convertRowRgb555, 2, 10, 5, 5, 5, 0, 5},
    {"Bgr555", convertRowBgr555, 2, 0, 5, 5, 5, 10, 5},
};

// The destination bytes of one pixel: each channel's top bits at its place;
// Xrgb32 alone keeps the top byte.
void referencePixel(const Reference& r, uint32_t p, uint8_t* out) {
    const uint32_t red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
    uint32_t v = ((red >> (8 - r.redBits)) << r.redAt) | ((green >> (8 - r.greenBits)) << r.greenAt) |
                 ((blue >> (8 - r.blueBits)) << r.blueAt);
    if (r.converter == convertRowXrgb32) v |= p & 0xFF000000;
    for (uint32_t b = 0; b < r.bytesPerPixel; ++b) out[b] = static_cast<uint8_t>(v >> (8 * b));
}

TEST(ConverterRows, EveryLengthAndOffsetMatchesTheChannelReference) {
    constexpr uint32_t kMaxCount = 67;
    constexpr uint32_t kGuard = 16;
    std::mt19937 rng(20261207);
    // Room for a source offset of up to three pixels and a destination offset of up to 15 bytes.
    std::vector<uint32_t> source(kMaxCount + 3);
    std::vector<uint8_t> out(kGuard + 15 + kMaxCount * 4 + kGuard), expected(out.size());
    for (const Reference& r : kReferences) {
        for (uint32_t count = 0; count <= kMaxCount; ++count) {
            for (uint32_t sourceOffset = 0; sourceOffset < 4; ++sourceOffset) {
                for (uint32_t destinationOffset = 0; destinationOffset < 16; ++destinationOffset) {
                    for (uint32_t& p : source) p = rng();
                    for (size_t b = 0; b < out.size(); ++b) out[b] = expected[b] = static_cast<uint8_t>(0xA5 ^ b);
                    uint8_t* destination = out.data() + kGuard + destinationOffset;
                    uint8_t* wanted = expected.data() + kGuard + destinationOffset;
                    for (uint32_t i = 0; i < count; ++i)
                        referencePixel(r, source[sourceOffset + i], wanted + i * r.bytesPerPixel);
                    r.converter(source.data() + sourceOffset, destination, count);
                    ASSERT_EQ(out, expected) << r.name << " count " << count << " source offset " << sourceOffset
                                             << " destination offset " << destinationOffset;
                }
            }
        }
    }
}

// Channel values at the edges of the kept bits: runs of one value, so that a
// block loop that mixes up pixels or halves shows it.
TEST(ConverterRows, ChannelEdgesInEveryLanePosition) {
    const uint32_t channelValues[] = {0x00, 0x07, 0x08, 0x03, 0x04, 0x7F, 0x80, 0xF8, 0xFB, 0xFC, 0xFF};
    std::vector<uint32_t> source;
    for (uint32_t red : channelValues)
        for (uint32_t green : channelValues)
            for (uint32_t blue : channelValues) source.push_back((red << 16) | (green << 8) | blue);
    for (size_t i = 0; i < source.size(); i += 3) source[i] |= 0x80000000u;  // some top bytes set
    for (const Reference& r : kReferences) {
        std::vector<uint8_t> out(source.size() * r.bytesPerPixel), expected(out.size());
        for (size_t i = 0; i < source.size(); ++i) referencePixel(r, source[i], expected.data() + i * r.bytesPerPixel);
        r.converter(source.data(), out.data(), static_cast<uint32_t>(source.size()));
        EXPECT_EQ(out, expected) << r.name;
    }
}

}  // namespace
