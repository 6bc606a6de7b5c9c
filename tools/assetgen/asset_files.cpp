#include "asset_files.h"

#include <cstdio>

#include "backdrop.h"
#include "scene/data_files.h"
#include "flare.h"
#include "font_sheet.h"
#include "song.h"

namespace assetgen {

std::vector<AssetFile> makeAllAssets() {
    return {
        {kBackgroundFile.name, makeBackdrop().raw()},
        {kFlareFile.name, makeFlare(kFlareFile.width).raw()},
        {kSmallFlareFile.name, makeFlare(kSmallFlareFile.width).raw()},
        {kFontFile.name, makeFontSheet().raw()},
        {kSongFileName, writeXm(makeSong())},
    };
}

bool writeAssets(const std::vector<AssetFile>& files, const std::string& folder) {
    for (const AssetFile& file : files) {
        const std::string path = folder + "/" + file.name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) {
            std::fprintf(stderr, "assetgen: cannot create %s\n", path.c_str());
            return false;
        }
        const size_t written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
        const bool closed = std::fclose(out) == 0;
        if (written != file.bytes.size() || !closed) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
