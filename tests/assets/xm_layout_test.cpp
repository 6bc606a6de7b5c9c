// Walks the generated module field by field, as a strict player does: the
// header, every pattern's packed cells, every instrument and its sample data
// must account for the file's bytes exactly.
#include <gtest/gtest.h>

#include <cstring>

#include "support/files.h"

namespace {

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& b) : bytes(b) {}
    bool has(size_t at, size_t n) const { return at + n <= bytes.size(); }
    uint32_t u8(size_t at) const { return has(at, 1) ? bytes[at] : 0; }
    uint32_t u16(size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    uint32_t u32(size_t at) const { return u16(at) | (u16(at + 2) << 16); }
    const std::vector<uint8_t>& bytes;
};

struct Header {
    uint32_t songLength, channels, patterns, instruments;
};

Header checkHeader(const Reader& r) {
    EXPECT_EQ(std::memcmp(r.bytes.data(), "Extended Module: ", 17), 0);
    EXPECT_EQ(r.u8(37), 0x1au);
    EXPECT_EQ(r.u16(58), 0x0104u);
    EXPECT_EQ(r.u32(60), 276u);
    EXPECT_EQ(r.u16(74) & 1u, 1u);  // linear frequency table
    const Header h = {r.u16(64), r.u16(68), r.u16(70), r.u16(72)};
    EXPECT_GE(h.songLength, 1u);
    EXPECT_LE(h.songLength, 256u);
    EXPECT_EQ(h.channels % 2, 0u);
    EXPECT_LE(h.channels, 32u);
    for (uint32_t i = 0; i < h.songLength; ++i) EXPECT_LT(r.u8(80 + i), h.patterns) << "order " << i;
    return h;
}

// Returns the offset after the pattern; checks that its packed data holds
// exactly rows x channels cells with valid notes and instruments.
size_t checkPattern(const Reader& r, size_t at, const Header& h) {
    EXPECT_EQ(r.u32(at), 9u);
    const uint32_t rows = r.u16(at + 5), packedSize = r.u16(at + 7);
    EXPECT_GE(rows, 1u);
    EXPECT_LE(rows, 256u);
    size_t p = at + 9;
    const size_t end = p + packedSize;
    uint32_t cells = 0;
    while (p < end && r.has(p, 1)) {
        uint32_t fields = 0x1f;
        if (r.u8(p) & 0x80) fields = r.u8(p++) & 0x1f;
        if (fields & 1) {
            EXPECT_LE(r.u8(p), 97u);
        }
        if (fields & 2) {
            EXPECT_LE(r.u8(p + ((fields & 1) ? 1 : 0)), h.instruments);
        }
        p += static_cast<size_t>(__builtin_popcount(fields));
        ++cells;
    }
    EXPECT_EQ(p, end);
    EXPECT_EQ(cells, rows * h.channels);
    return end;
}

size_t checkInstrument(const Reader& r, size_t at) {
    EXPECT_EQ(r.u32(at), 263u);
    const uint32_t samples = r.u16(at + 27);
    EXPECT_GE(samples, 1u);
    EXPECT_EQ(r.u32(at + 29), 40u);
    EXPECT_LE(r.u8(at + 225), 12u);  // volume envelope points
    size_t p = at + 263;
    size_t data = 0;
    for (uint32_t s = 0; s < samples; ++s, p += 40) {
        const uint32_t length = r.u32(p), loopStart = r.u32(p + 4), loopLength = r.u32(p + 8);
        const bool sixteenBit = (r.u8(p + 14) & 0x10) != 0;
        EXPECT_LE(r.u8(p + 12), 64u);
        if (sixteenBit) {
            EXPECT_EQ(length % 2, 0u);
        }
        if (loopLength > 0) {
            EXPECT_LE(loopStart + loopLength, length);
        }
        data += length;
    }
    return p + data;
}

TEST(XmLayout, HeaderPatternsAndInstrumentsAccountForEveryByte) {
    const std::vector<uint8_t> file = readBytes("qzt_dmbl.xm");
    ASSERT_GT(file.size(), 336u);
    EXPECT_LE(file.size(), 1024u * 1024u);  // the page and the packages stay light
    const Reader r(file);
    const Header h = checkHeader(r);
    size_t at = 60 + 276;
    for (uint32_t i = 0; i < h.patterns && r.has(at, 9); ++i) at = checkPattern(r, at, h);
    for (uint32_t i = 0; i < h.instruments && r.has(at, 263); ++i) at = checkInstrument(r, at);
    EXPECT_EQ(at, file.size());
}

}  // namespace
