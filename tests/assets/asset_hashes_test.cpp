// The data files are pinned: a change to any of them must be deliberate and
// show up here. The files in the run folder must also be exactly what the
// generator makes now, so a stale build cannot hide a change.
#include <gtest/gtest.h>

#include "asset_file.h"
#include "asset_files.h"
#include "sha256.h"

namespace {

TEST(Sha256, MatchesTheStandardTestVectors) {
    EXPECT_EQ(assetgen::sha256Hex({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const std::string abc = "abc";
    EXPECT_EQ(assetgen::sha256Hex({abc.begin(), abc.end()}),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(assetgen::sha256Hex({twoBlocks.begin(), twoBlocks.end()}),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

struct PinnedFile {
    const char* name;
    const char* sha256;
};

const PinnedFile kPinned[] = {
    {"welt.raw", "PIN"},
    {"flare.raw", "PIN"},
    {"flare2.raw", "PIN"},
    {"font.raw", "PIN"},
    {"qzt_dmbl.xm", "PIN"},
};

TEST(AssetHashes, FilesInTheRunFolderHaveThePinnedContent) {
    for (const PinnedFile& file : kPinned) EXPECT_EQ(assetgen::sha256Hex(readAssetFile(file.name)), file.sha256) << file.name;
}

TEST(AssetHashes, GeneratorMakesTheSameBytesAsTheFilesInTheRunFolder) {
    const std::vector<assetgen::AssetFile> made = assetgen::makeAllAssets();
    ASSERT_EQ(made.size(), std::size(kPinned));
    for (const assetgen::AssetFile& file : made) EXPECT_TRUE(file.bytes == readAssetFile(file.name.c_str())) << file.name;
}

}  // namespace
