#pragma once
// The whole content of a file; empty when it cannot be read.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}
