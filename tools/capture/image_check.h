#pragma once
// The demo loads its raw images without checking their size (missing bytes
// read as 0). The capture still renders such images as the demo shows them,
// but names each damaged one first.
#include <cstdio>
#include <string>

#include "scene/data_files.h"

// One line naming the image file when it is not a regular file of the
// expected size, without line end; empty when the file is fine or missing
// (the loader names a missing file itself).
std::string describeDamagedImage(const ImageFile& image);

// Writes the line of each damaged image of the working folder to stream.
void reportDamagedImages(std::FILE* stream);
