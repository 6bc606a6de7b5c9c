// Writes the sin/cos table source to standard output:
//   sincos_table_gen > src/raster/sincos_table.cpp
#include <array>
#include <cstdio>

#include "sincos_table_gen.h"

int main() {
    std::array<sincos_table::Entry, sincos_table::kEntries> table;
    if (!sincos_table::computeTable(table)) {
        std::fputs("sincos_table_gen: a value lies too close to a rounding boundary\n", stderr);
        return 1;
    }
    const std::string source = sincos_table::tableSource(table);
    std::fwrite(source.data(), 1, source.size(), stdout);
    return 0;
}
