#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "raster/image.h"

namespace {

std::string writeTempFile(const char* name, const std::vector<unsigned char>& bytes) {
    std::string path = testing::TempDir() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

TEST(ImageLoad, ConvertsRgbTriplesToPixels) {
    std::string path = writeTempFile("two.raw", {0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF});
    Image image(2, 1, path.c_str());
    EXPECT_EQ(image.getPixels()[0], 0x00123456u);
    EXPECT_EQ(image.getPixels()[1], 0x00ABCDEFu);
    EXPECT_EQ(image.getMagic(), kImageMagic);
}

TEST(ImageLoad, ShortFileLeavesMissingBytesZero) {
    std::string path = writeTempFile("short.raw", {0x12, 0x34, 0x56, 0xAB});
    Image image(2, 1, path.c_str());
    EXPECT_EQ(image.getPixels()[0], 0x00123456u);
    EXPECT_EQ(image.getPixels()[1], 0x00AB0000u);
}

TEST(ImageLoad, LongerFileUsesOnlyItsBeginning) {
    std::string exact = writeTempFile("exact.raw", {1, 2, 3, 4, 5, 6});
    std::string longer = writeTempFile("longer.raw", {1, 2, 3, 4, 5, 6, 7});
    Image a(2, 1, exact.c_str());
    Image b(2, 1, longer.c_str());
    EXPECT_EQ(a.getPixels()[0], b.getPixels()[0]);
    EXPECT_EQ(a.getPixels()[1], b.getPixels()[1]);
}

TEST(ImageLoad, MissingFileWritesMessageWithoutLineEndAndGivesBlackImage) {
    testing::internal::CaptureStdout();
    Image image(32, 32, "no-such-file.raw");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Fehler beim \xC3\xB6"
              "ffnen der Bilddatei: no-such-file.raw");
    ASSERT_EQ(image.getWidth(), 32);
    ASSERT_EQ(image.getHeight(), 32);
    for (int i = 0; i < 32 * 32; ++i) ASSERT_EQ(image.getPixels()[i], 0u) << i;
}

TEST(ImageLoad, EmptyImageConvertsNothing) {
    std::string path = writeTempFile("empty.raw", {1, 2, 3});
    Image image(0, 5, path.c_str());
    EXPECT_EQ(image.getWidth(), 0);
    EXPECT_EQ(image.getMagic(), kImageMagic);
}

TEST(ImageBlank, StartsCleared) {
    Image image(7, 3);
    EXPECT_EQ(image.getMagic(), kImageMagic);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(image.getPixels()[i], 0u);
}

}  // namespace
