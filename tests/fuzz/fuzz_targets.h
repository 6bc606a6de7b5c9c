#pragma once
// The fuzz targets, callable from the libFuzzer programs and from the test
// that replays the inputs kept from earlier fuzzing.
#include <cstddef>
#include <cstdint>

// The XM reader: the extent the headers declare and the line that names a
// short module.
void fuzzXmExtent(const uint8_t* data, size_t size);

// The raw image loader: the first two bytes give the picture's width and
// height (1 to 64 each), the rest is the file.
void fuzzImageLoader(const uint8_t* data, size_t size);
