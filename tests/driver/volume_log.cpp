#include "volume_log.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/files.h"

std::vector<int> readVolumes(const std::string& path) {
    std::istringstream file(readText(path));
    std::vector<int> volumes;
    for (int volume; file >> volume;) volumes.push_back(volume);
    return volumes;
}

void expectFadeVolumes(const std::vector<int>& volumes) {
    // Frames come every few milliseconds; 10 s of fade make hundreds.
    ASSERT_GT(volumes.size(), 100u);
    EXPECT_LE(volumes.front(), 255);
    EXPECT_GE(volumes.front(), 250);
    for (size_t i = 1; i < volumes.size(); ++i) ASSERT_LE(volumes[i], volumes[i - 1]) << "frame " << i;
    EXPECT_LE(volumes.back(), 0);
    EXPECT_GT(volumes[volumes.size() - 2], 0);
}
