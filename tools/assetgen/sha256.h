#pragma once
// SHA-256 of a byte string, as lower-case hex; used to pin the data files.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

std::string sha256Hex(const std::vector<uint8_t>& data);

}  // namespace assetgen
