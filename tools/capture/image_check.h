#pragma once
// The demo loads its raw images without checking them (a missing file is
// named by the loader, missing bytes read as 0). The capture renders such
// images as the demo shows them, but names each missing, unreadable or
// damaged one on standard error first. An image that is not a regular file
// (a folder, a pipe, a device) ends the capture before any work.
#include <cstdio>
#include <string>

#include "scene/data_files.h"

enum class ImageState { Fine, Damaged, NotAFile };

// One line naming the image file when it is missing, cannot be read, is
// not a regular file or has another size than expected, without line end;
// empty when the file is fine. folder is the data folder, a prefix of the
// file's name.
std::string describeImage(const ImageFile& image, const std::string& folder, ImageState& state);

// Writes the line of each image of the data folder that is not fine to
// stream. False when one is not a regular file: then error names it.
bool checkImages(std::FILE* stream, const std::string& folder, std::string& error);
