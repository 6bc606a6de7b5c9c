#pragma once
// The table behind portableSin/portableCos: sin and cos of i/128 for
// i = 0..109, each as the double nearest the value plus the double nearest
// what that leaves over, so a row carries sin and cos to about 106 bits.
//
// The series are summed in 256-bit fixed point with integer arithmetic
// only, so the generator gives the same table on any machine and needs no
// floating-point library; its output is committed as
// src/raster/sincos_table.cpp and a test checks the two still agree.
#include <array>
#include <string>

namespace sincos_table {

inline constexpr int kEntries = 110;

struct Entry {
    double sinHigh, sinLow, cosHigh, cosLow;
};

// Every value rounded to nearest, ties to even. Returns false (and leaves
// the table incomplete) if some value lies so close to a rounding boundary
// that the fixed-point error could decide it; with 240 fraction bits that
// would need a tie to within 2^-225, and none of the 440 values is one.
bool computeTable(std::array<Entry, kEntries>& table);

// The complete source file src/raster/sincos_table.cpp.
std::string tableSource(const std::array<Entry, kEntries>& table);

}  // namespace sincos_table
