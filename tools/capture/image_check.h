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
// folder is the data folder, a prefix of the file's name.
std::string describeDamagedImage(const ImageFile& image, const std::string& folder = "");

// Writes the line of each damaged image of the data folder to stream.
void reportDamagedImages(std::FILE* stream, const std::string& folder = "");
