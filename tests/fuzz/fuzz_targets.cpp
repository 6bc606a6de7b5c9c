#include "fuzz_targets.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "raster/image.h"
#include "sound/xm_extent.h"
#include "support/process.h"

void fuzzXmExtent(const uint8_t* data, size_t size) {
    const XmExtent extent = measureXmExtent(data, size);
    char line[512];
    describeShortModule("fuzz.xm", extent, size, line, sizeof line);
    // A whole module declares no more bytes than it has.
    if (extent.complete && extent.declaredBytes > size) __builtin_trap();
}

void fuzzImageLoader(const uint8_t* data, size_t size) {
    if (size < 2) return;
    const int32_t width = 1 + data[0] % 64;
    const int32_t height = 1 + data[1] % 64;
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("fuzz_image_" + std::to_string(currentProcessId()) + ".raw"))
                                        .string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(data + 2, 1, size - 2, file);
    std::fclose(file);
    bool opened = false;
    const Image image(width, height, path.c_str(), &opened);
    // Every pixel is read: the sanitizers see any that was never written.
    uint32_t sum = 0;
    for (int32_t i = 0; i < width * height; ++i) sum += image.getPixels()[i];
    volatile uint32_t seen = sum;
    (void)seen;
    if (!opened) __builtin_trap();
}
