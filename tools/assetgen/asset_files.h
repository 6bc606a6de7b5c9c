#pragma once
// The demo's data files, each made in memory and written under its name.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct AssetFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<AssetFile> makeAllAssets();

// Writes every file into `folder`; false (with a message on stderr) if one fails.
bool writeAssets(const std::vector<AssetFile>& files, const std::string& folder);

}  // namespace assetgen
