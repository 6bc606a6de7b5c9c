#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "raster/image.h"

namespace {

uint32_t& at(Image& image, int x, int y) { return image.getPixels()[y * image.getWidth() + x]; }

void fillPattern(Image& image, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int i = 0; i < image.getWidth() * image.getHeight(); ++i) image.getPixels()[i] = rng();
}

uint32_t saturatedAddReference(uint32_t d, uint32_t s) {
    uint32_t r = d & 0xFF000000;
    for (int k = 0; k < 3; ++k) {
        uint32_t sum = ((d >> (8 * k)) & 0xFF) + ((s >> (8 * k)) & 0xFF);
        r |= std::min<uint32_t>(sum, 255) << (8 * k);
    }
    return r;
}

TEST(ImageFill, SetsEveryPixel) {
    Image image(5, 4);
    image.fill(0x00FF0000);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(image.getPixels()[i], 0x00FF0000u);
}

TEST(CopyOpaque, FullCopyAndRightEdgeClip) {
    Image src(640, 480), dst(640, 480);
    fillPattern(src, 1);
    dst.copyOpaque(src, 0, 0);
    EXPECT_TRUE(std::equal(src.getPixels(), src.getPixels() + 640 * 480, dst.getPixels()));

    Image narrow(64, 3);
    fillPattern(narrow, 2);
    dst.fill(0);
    dst.copyOpaque(narrow, 600, 10);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 40; ++c) ASSERT_EQ(at(dst, 600 + c, 10 + r), at(narrow, c, r));
        EXPECT_EQ(at(dst, 599, 10 + r), 0u);
    }
    EXPECT_EQ(at(dst, 600, 13), 0u);
}

TEST(CopyOpaque, ClipsLeftTopAndFarPositionsWithoutStrayWrites) {
    Image src(8, 8), dst(10, 10);
    fillPattern(src, 3);
    dst.copyOpaque(src, -3, -2);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            uint32_t expected = (x < 5 && y < 6) ? at(src, x + 3, y + 2) : 0u;
            ASSERT_EQ(at(dst, x, y), expected) << x << "," << y;
        }
    }
    Image untouched(10, 10);
    untouched.copyOpaque(src, -8, 0);
    untouched.copyOpaque(src, 0, 10);
    untouched.copyOpaque(src, 2147483640, -2147483647);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(untouched.getPixels()[i], 0u);
}

TEST(AddBlend, SaturatesPerChannelAndKeepsTopByte) {
    Image src(1, 1), dst(2, 1);
    src.getPixels()[0] = 0x00808080;
    dst.getPixels()[0] = 0x00FF8040;
    dst.addBlend(src, 0, 0);
    EXPECT_EQ(dst.getPixels()[0], 0x00FFFFC0u);
    src.getPixels()[0] = 0xFF010203;  // the source's top byte is ignored
    dst.getPixels()[1] = 0x7F000000;
    dst.addBlend(src, 1, 0);
    EXPECT_EQ(dst.getPixels()[1], 0x7F010203u);
}

TEST(AddBlend, MatchesChannelReferenceOnRandomPixels) {
    Image src(64, 64), dst(64, 64), ref(64, 64);
    fillPattern(src, 4);
    fillPattern(dst, 5);
    for (int i = 0; i < 64 * 64; ++i)
        ref.getPixels()[i] = saturatedAddReference(dst.getPixels()[i], src.getPixels()[i]);
    dst.addBlend(src, 0, 0);
    for (int i = 0; i < 64 * 64; ++i) ASSERT_EQ(dst.getPixels()[i], ref.getPixels()[i]) << i;
}

TEST(AddBlend, ClipsOnAllSides) {
    Image flare(32, 32), dst(640, 480);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) at(flare, x, y) = uint32_t(y * 32 + x + 1);
    dst.addBlend(flare, -16, -16);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(at(dst, x, y), (x < 16 && y < 16) ? at(flare, x + 16, y + 16) : 0u);

    Image edge(640, 480);
    edge.addBlend(flare, -32, 0);  // x + sw = 0: nothing
    edge.addBlend(flare, 639, 100);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            bool lit = x == 639 && y >= 100 && y < 132;
            ASSERT_EQ(at(edge, x, y), lit ? at(flare, 0, y - 100) : 0u);
        }
}

TEST(BlitKeyed, KeyRuleAndLeftClip) {
    Image src(4, 1), dst(4, 1);
    src.getPixels()[0] = 0x00000000;
    src.getPixels()[1] = 0xFF000000;
    src.getPixels()[2] = 0x00000001;
    src.getPixels()[3] = 0x00FFFFFF;
    dst.fill(0x00123456);
    dst.blitKeyed(src, 0, 0, 0, 0, 4, 1);
    EXPECT_EQ(dst.getPixels()[0], 0x00123456u);
    EXPECT_EQ(dst.getPixels()[1], 0x00123456u);
    EXPECT_EQ(dst.getPixels()[2], 0x00000001u);
    EXPECT_EQ(dst.getPixels()[3], 0x00FFFFFFu);

    Image font(320, 100), frame(640, 480);
    for (int i = 0; i < 320 * 100; ++i) font.getPixels()[i] = uint32_t(i + 1);
    frame.blitKeyed(font, -5, 10, 24, 0, 22, 24);
    for (int x = 0; x < 20; ++x) ASSERT_EQ(at(frame, x, 10), x <= 16 ? at(font, 24 + 5 + x, 0) : 0u) << x;
}

TEST(BlitKeyed, ClipsSourceRectangleToTheSource) {
    Image src(4, 4), dst(8, 8);
    src.fill(0x00010101);
    dst.blitKeyed(src, 0, 0, -2, -1, 8, 8);  // reaches past every side of the source
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 1 && y < 5;
            ASSERT_EQ(at(dst, x, y), inside ? 0x00010101u : 0u) << x << "," << y;
        }
}

TEST(BlurRows, WritesExactlyTheBandAndQuartersNeighbours) {
    Image image(640, 480);
    image.fill(0x00FFFFFF);
    image.blurRows(240, 479);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            bool written = (y >= 241 && y <= 476) || (y == 477 && x <= 637);
            ASSERT_EQ(at(image, x, y), written ? 0x00FCFCFCu : 0x00FFFFFFu) << x << "," << y;
        }
    image.fill(0x00030303);
    image.blurRows(240, 479);
    EXPECT_EQ(at(image, 0, 241), 0u);
    EXPECT_EQ(at(image, 637, 477), 0u);
    EXPECT_EQ(at(image, 638, 477), 0x00030303u);
}

TEST(BlurRows, SmearRunsRightAndDownAndWrapsIntoTheNextRow) {
    Image image(8, 8);
    at(image, 7, 0) = 0xFFFFFFFF;  // last pixel of row 0, which is only read
    image.blurRows(0, 8);
    // Linear indices: the left neighbour of row 1's first pixel is row 0's last.
    EXPECT_EQ(at(image, 0, 1), 0x3F3F3F3Fu);
    EXPECT_EQ(at(image, 1, 1), 0x0F0F0F0Fu);  // this pass's results feed the next pixel
    EXPECT_EQ(at(image, 2, 1), 0x03030303u);
    EXPECT_EQ(at(image, 3, 1), 0u);
    EXPECT_EQ(at(image, 7, 1), 0x3F3F3F3Fu);  // upper neighbour
    EXPECT_EQ(at(image, 0, 2), 0x1E1E1E1Eu);  // upper and left, both from this pass
    EXPECT_EQ(at(image, 7, 0), 0xFFFFFFFFu);
}

// The smear walked literally, one linear index after the other.
void blurRowsReference(Image& image, int top, int bottom) {
    uint32_t* p = image.getPixels();
    const long W = image.getWidth();
    auto q = [](uint32_t v) { return (v >> 2) & 0x3F3F3F3Fu; };
    for (long i = top * W; i < (bottom - 2) * W - 2; ++i)
        p[i + W] = q(p[i]) + q(p[i + W - 1]) + q(p[i + W + 1]) + q(p[i + 2 * W]);
}

// Smears a copy with blurRows and one with the literal walk; true when equal.
bool blurRowsMatchesReference(int width, int height, int top, int bottom,
                              const std::function<uint32_t()>& pixel) {
    Image a(width, height), b(width, height);
    for (int i = 0; i < width * height; ++i) a.getPixels()[i] = b.getPixels()[i] = pixel();
    a.blurRows(top, bottom);
    blurRowsReference(b, std::max(top, 0), std::min(bottom, height));
    return std::equal(a.getPixels(), a.getPixels() + width * height, b.getPixels());
}

TEST(BlurRows, EqualsTheLiteralWalkForManyShapes) {
    std::mt19937 rng(7);
    const auto noise = [&] { return uint32_t(rng()); };
    // Widths around the multiples of 64 from which rows are cut into runs
    // (a band's last row is two pixels shorter), rows longer than one chunk,
    // and bands of one or two rows.
    const int shapes[][4] = {
        {640, 480, 240, 479}, {640, 480, 0, 480}, {1000, 20, 3, 19}, {3, 30, 0, 30},      {1, 9, 0, 9},
        {17, 9, 2, 8},        {700, 5, 0, 5},     {640, 6, 1, 4},    {31, 12, 0, 12},     {32, 12, 0, 12},
        {33, 12, 1, 11},      {95, 8, 0, 8},      {63, 9, 0, 9},     {64, 9, 2, 9},       {65, 8, 0, 8},
        {66, 6, 0, 6},        {127, 7, 0, 7},     {128, 7, 1, 7},    {129, 5, 0, 5},      {130, 6, 0, 6},
        {2048, 5, 0, 5},      {2100, 6, 0, 6},    {4099, 4, 0, 4},   {640, 480, 477, 480}};
    for (const auto& s : shapes)
        ASSERT_TRUE(blurRowsMatchesReference(s[0], s[1], s[2], s[3], noise)) << s[0] << "x" << s[1];
    for (int trial = 0; trial < 40; ++trial) {
        const int width = 1 + int(rng() % 300), height = 1 + int(rng() % 12);
        const int top = int(rng() % (height + 4)) - 2, bottom = int(rng() % (height + 4)) - 1;
        ASSERT_TRUE(blurRowsMatchesReference(width, height, top, bottom, noise))
            << width << "x" << height << " " << top << ".." << bottom;
    }
}

// Flat colours where two different left neighbours lead to two different
// steady smears (a byte of 4..7 keeps both 0 and 1 as its quarter), bytes
// whose sums end in binary 11 so that a difference of one travels far, and
// extreme bytes.
TEST(BlurRows, EqualsTheLiteralWalkOnFlatAndCarryingPictures) {
    std::mt19937 rng(11);
    const uint32_t flats[] = {0x04040404, 0x07060504, 0xFFFFFFFF, 0, 0x0B0B0B0B, 0x3F3F3F3F, 0xFCFCFCFC};
    for (uint32_t flat : flats) {
        const auto mostlyFlat = [&] { return rng() % 97 == 0 ? uint32_t(rng()) : flat; };
        ASSERT_TRUE(blurRowsMatchesReference(640, 40, 0, 40, mostlyFlat)) << std::hex << flat;
    }
    const uint8_t bytes[] = {0, 3, 4, 7, 12, 15, 0xFC, 0xFF};
    const auto fewBytes = [&] {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= uint32_t(bytes[rng() % 8]) << (8 * k);
        return v;
    };
    for (int width : {96, 640, 651})
        ASSERT_TRUE(blurRowsMatchesReference(width, 30, 0, 30, fewBytes)) << width;
}

// Rows whose runs of 40 pixels (a 640 row cut into 16 runs) alternate
// between noise, where the bounds of a run meet within a few pixels, and
// flat stretches that keep two steady smears apart to the run's end; in
// blocks of eight runs the bounds meet in some and not in others.
TEST(BlurRows, EqualsTheLiteralWalkWithMeetingAndApartRuns) {
    std::mt19937 rng(5);
    for (uint32_t flat : {0x04040404u, 0xFFFFFFFFu, 0x07070707u}) {
        for (int pattern : {0x5555, 0x00FF, 0xFF00, 0x0001, 0x0010, 0x1000, 0x8000, 0xFFFE}) {
            int index = 0;
            const auto mixed = [&] {
                const int run = (index++ % 640) / 40;
                return (pattern >> run) & 1 ? flat : uint32_t(rng());
            };
            ASSERT_TRUE(blurRowsMatchesReference(640, 12, 0, 12, mixed))
                << std::hex << flat << " " << pattern;
        }
    }
}

TEST(BlurRows, ClampsRowsToTheImage) {
    Image a(16, 16), b(16, 16);
    fillPattern(a, 6);
    fillPattern(b, 6);
    a.blurRows(-4, 40);
    b.blurRows(0, 16);
    EXPECT_TRUE(std::equal(a.getPixels(), a.getPixels() + 256, b.getPixels()));
    a.blurRows(10, 11);  // nothing to write
}

TEST(Darken, SaturatesEveryByteAndLeavesRowZero) {
    Image image(3, 2);
    image.fill(0x00C83214);
    image.darken(50);
    EXPECT_EQ(at(image, 0, 0), 0x00C83214u);
    EXPECT_EQ(at(image, 2, 1), 0x00960000u);

    image.fill(0xFF0000FF);
    image.darken(0);
    EXPECT_EQ(at(image, 1, 1), 0xFF0000FFu);
    image.darken(-7);
    EXPECT_EQ(at(image, 1, 1), 0xFF0000FFu);
    for (int i = 0; i < 84; ++i) image.darken(3);
    EXPECT_EQ(at(image, 1, 1), 0x03000003u);
    image.darken(3);
    EXPECT_EQ(at(image, 1, 1), 0u);
    image.fill(0xFFFFFFFF);
    image.darken(300);
    EXPECT_EQ(at(image, 0, 1), 0u);
    EXPECT_EQ(at(image, 0, 0), 0xFFFFFFFFu);
}

// Wide enough for the sixteen-byte blocks and a tail after them: every byte
// below row 0 loses the amount or goes to zero, whichever path it takes.
TEST(Darken, BlocksAndTailSaturateAlike) {
    Image image(7, 3), before(7, 3);
    fillPattern(image, 9);
    std::copy_n(image.getPixels(), 21, before.getPixels());
    image.darken(100);
    const auto* was = reinterpret_cast<const uint8_t*>(before.getPixels());
    const auto* now = reinterpret_cast<const uint8_t*>(image.getPixels());
    for (int i = 0; i < 7 * 3 * 4; ++i) {
        const int expected = i < 7 * 4 ? was[i] : std::max(was[i] - 100, 0);
        EXPECT_EQ(now[i], expected) << "byte " << i;
    }
}

}  // namespace
