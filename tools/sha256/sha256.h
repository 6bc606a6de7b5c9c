#pragma once
// SHA-256 of a byte string, as lower-case hex: pins the data files and the
// composed frames in the tests and the page's check mode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string sha256Hex(const uint8_t* data, size_t size);
inline std::string sha256Hex(const std::vector<uint8_t>& data) { return sha256Hex(data.data(), data.size()); }
