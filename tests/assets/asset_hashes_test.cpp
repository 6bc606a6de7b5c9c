// The data files are pinned: a change to any of them must be deliberate and
// show up here. The files in the run folder must also be exactly what the
// generator makes now, so a stale build cannot hide a change.
#include <gtest/gtest.h>

#include "asset_files.h"
#include "sha256.h"
#include "support/files.h"

namespace {

struct PinnedFile {
    const char* name;
    const char* sha256;
};

const PinnedFile kPinned[] = {
    {"welt.raw", "61d57f030fc57206813d49e266d3c82bbd62197d554f2731c996a5587471debd"},
    {"flare.raw", "94324664dcbb5b6cba3e55282c9d91c4824373bc84b6a551241809946431911f"},
    {"flare2.raw", "2fea4dde455c39bf7d863733ccc018e3eb054999cbf9b7b3c07f227462a3dbca"},
    {"font.raw", "a62b6e1c01a1ee677c005e4760f17ad917b6ef544d48f16c4c52af64e43587e8"},
    {"qzt_dmbl.xm", "4ddb4446e776b443a912b86e990f386447d1cbfad2a8e24569f590d474e8ef55"},
};

TEST(AssetHashes, FilesInTheRunFolderHaveThePinnedContent) {
    for (const PinnedFile& file : kPinned)
        EXPECT_EQ(sha256Hex(readBytes(file.name)), file.sha256) << file.name;
}

TEST(AssetHashes, GeneratorMakesTheSameBytesAsTheFilesInTheRunFolder) {
    const std::vector<assetgen::AssetFile> made = assetgen::makeAllAssets();
    ASSERT_EQ(made.size(), std::size(kPinned));
    for (const assetgen::AssetFile& file : made) EXPECT_TRUE(file.bytes == readBytes(file.name)) << file.name;
}

}  // namespace
