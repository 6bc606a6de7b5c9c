#pragma once
// A small XM module for tests that must not depend on the demo's own music:
// one looped square-wave sample, held as a note from the first row on.
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> makeToneModule();

// Writes bytes to path; false when the file cannot be written.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
