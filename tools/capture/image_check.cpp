#include "image_check.h"

#include <cerrno>
#include <cstring>

#include "output_paths.h"
#include "program_name.h"

std::string describeImage(const ImageFile& image, const std::string& folder, ImageState& state) {
    const std::string path = folder + image.name;
    const PathFacts facts = pathFacts(path);
    const std::string expected = std::to_string(rawImageBytes(image)) + " bytes";
    const std::string name = "the image '" + path + "'";
    state = ImageState::Damaged;
    if (!facts.exists) return name + " is missing";
    if (facts.isFolder || !facts.isRegularFile) {
        state = ImageState::NotAFile;
        return name + (facts.isFolder ? " is a folder" : " is not a regular file") + ", expected a file of " +
               expected;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return name + " cannot be read: " + std::strerror(errno);
    std::fclose(file);
    if (facts.size != rawImageBytes(image))
        return name + " has " + std::to_string(facts.size) + " bytes, expected " + expected;
    state = ImageState::Fine;
    return "";
}

bool checkImages(std::FILE* stream, const std::string& folder, std::string& error) {
    for (const ImageFile& image : kImageFiles) {
        ImageState state = ImageState::Fine;
        const std::string line = describeImage(image, folder, state);
        if (state == ImageState::NotAFile) {
            error = line;
            return false;
        }
        if (!line.empty()) std::fprintf(stream, "%s: %s\n", programName(), line.c_str());
    }
    return true;
}
