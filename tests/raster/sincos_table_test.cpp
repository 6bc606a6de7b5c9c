// The sin/cos table compiled into the program against its generator.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
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

uint64_t bits(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

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

}  // namespace
