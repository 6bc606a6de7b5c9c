// The sin/cos table compiled into the program against its generator.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "raster/sincos_table.h"
#include "sincos_table_gen.h"

namespace {

using GeneratedTable = std::array<sincos_table::Entry, sincos_table::kEntries>;

GeneratedTable generate() {
    GeneratedTable table{};
    EXPECT_TRUE(sincos_table::computeTable(table));
    return table;
}

uint64_t bits(double v) { return std::bit_cast<uint64_t>(v); }

TEST(SinCosTable, CompiledTableEqualsTheGeneratorsValues) {
    ASSERT_EQ(kSinCosEntries, sincos_table::kEntries);
    const GeneratedTable table = generate();
    for (int i = 0; i < kSinCosEntries; ++i) {
        const SinCosEntry& c = kSinCosTable[i];
        const sincos_table::Entry& g = table[i];
        EXPECT_EQ(bits(c.sinHigh), bits(g.sinHigh)) << "row " << i;
        EXPECT_EQ(bits(c.sinLow), bits(g.sinLow)) << "row " << i;
        EXPECT_EQ(bits(c.cosHigh), bits(g.cosHigh)) << "row " << i;
        EXPECT_EQ(bits(c.cosLow), bits(g.cosLow)) << "row " << i;
    }
}

TEST(SinCosTable, CommittedSourceIsTheGeneratorsOutput) {
    std::ifstream file(SINCOS_TABLE_SOURCE, std::ios::binary);
    ASSERT_TRUE(file) << SINCOS_TABLE_SOURCE;
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), sincos_table::tableSource(generate()));
}

// An independent look at the generator's values: the high parts are within
// an ulp of libm's sin and cos of i/128, and each low part is what is left,
// so it is at most half an ulp of its high part.
TEST(SinCosTable, HighPartsNearLibmAndLowPartsBelowHalfAnUlp) {
    const GeneratedTable table = generate();
    for (int i = 0; i < sincos_table::kEntries; ++i) {
        const double x = i / 128.0;
        const sincos_table::Entry& e = table[i];
        const double pairs[2][3] = {{e.sinHigh, e.sinLow, std::sin(x)}, {e.cosHigh, e.cosLow, std::cos(x)}};
        for (const auto& p : pairs) {
            const double high = p[0];
            const double low = p[1];
            const double ulp = high == 0.0 ? 0.0 : std::nextafter(high, 2.0) - high;
            EXPECT_LE(std::fabs(high - p[2]), ulp) << "row " << i;
            EXPECT_LE(std::fabs(low), ulp / 2) << "row " << i;
        }
    }
    EXPECT_EQ(table[0].sinHigh, 0.0);
    EXPECT_EQ(table[0].cosHigh, 1.0);
}

}  // namespace
