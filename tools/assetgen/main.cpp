// Generates the demo's data files (backdrop, flares, font sheet, music)
// into the folder given as the only argument.
#include <cstdio>

#include "asset_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    return assetgen::writeAssets(assetgen::makeAllAssets(), argv[1]) ? 0 : 1;
}
