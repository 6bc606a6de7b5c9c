#pragma once
// Reads one of the generated data files from the folder the tests run in.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

inline std::vector<uint8_t> readAssetFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
