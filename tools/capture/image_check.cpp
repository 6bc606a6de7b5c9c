#include "image_check.h"

#include "output_paths.h"

std::string describeDamagedImage(const ImageFile& image, const std::string& folder) {
    const PathFacts facts = pathFacts(folder + image.name);
    const std::string expected = std::to_string(rawImageBytes(image)) + " bytes";
    const std::string name = "the image '" + folder + image.name + "'";
    if (!facts.exists) return "";
    if (facts.isFolder) return name + " is a folder, expected a file of " + expected;
    if (!facts.isRegularFile) return name + " is not a regular file, expected a file of " + expected;
    if (facts.size == rawImageBytes(image)) return "";
    return name + " has " + std::to_string(facts.size) + " bytes, expected " + expected;
}

void reportDamagedImages(std::FILE* stream, const std::string& folder) {
    for (const ImageFile& image : kImageFiles) {
        const std::string line = describeDamagedImage(image, folder);
        if (!line.empty()) std::fprintf(stream, "demo_capture: %s\n", line.c_str());
    }
}
