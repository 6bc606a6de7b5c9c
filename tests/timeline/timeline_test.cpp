#include <gtest/gtest.h>

#include <cstring>

#include "driver/demo_state.h"
#include "driver/scroll_message.h"
#include "driver/timeline.h"
#include "effects/wave.h"

namespace {

TEST(FadeVolume, FallsFromFullAndIsNotClamped) {
    EXPECT_EQ(fadeVolume(150000), 255);
    EXPECT_EQ(fadeVolume(155000), 128);
    EXPECT_EQ(fadeVolume(159999), 1);
    EXPECT_EQ(fadeVolume(160000), 0);
    EXPECT_EQ(fadeVolume(160039), 0);
    EXPECT_EQ(fadeVolume(160040), -1);
    EXPECT_EQ(fadeVolume(161000), -25);
}

TEST(ScrollMessage, CopiedWithItsTerminator) {
    std::memset(scrollText, 'x', sizeof scrollText);
    copyScrollMessage();
    EXPECT_STREQ(scrollText, kScrollMessage);
    EXPECT_EQ(scrollText[std::strlen(kScrollMessage) + 1], 'x');
}

// One scene as the driver sets it up, with small synthetic images.
class TimelineTest : public testing::Test {
protected:
    void SetUp() override {
        musicTime = 0;
        randomState = kRandomSeed;
        for (int i = 0; i < 640 * 480; ++i) background.getPixels()[i] = 0x00646464;
        flare.fill(0x00101010);
        font.fill(0x00FFFFFF);
        copyScrollMessage();
        setupScene(vertices, triangles, background);
    }
    Image background{640, 480};
    Image flare{32, 32};
    Image font{320, 100};
    VertexList vertices;
    TriangleList triangles;
    SceneImages images{background, flare, font};
};

TEST_F(TimelineTest, SetUpClearsScreenDarkensBackgroundAndProjectsOnce) {
    EXPECT_EQ(vertices.count, 225);
    EXPECT_EQ(triangles.count, 196);
    EXPECT_EQ(spinAngle, 1.0);
    EXPECT_EQ(rowPhase, 1.0);
    EXPECT_EQ(screen.getPixels()[1000], 0u);
    EXPECT_EQ(background.getPixels()[0], 0x00646464u);       // row 0 is never darkened
    EXPECT_EQ(background.getPixels()[640 * 5], 0x00323232u);
    EXPECT_EQ(vertices.items[0].depth, 131);  // (-225, -225, 0) at spin 1.0
}

TEST_F(TimelineTest, ShowFrameUsesPreviousAnglesThenDerivesNextOnes) {
    composeShowFrame(1234, vertices, triangles, images);
    EXPECT_EQ(musicTime, 1234);
    // The first frame waves with the start-up angles (column phase 5, row phase 1).
    EXPECT_EQ(vertices.items[0].z, -11);
    EXPECT_EQ(vertices.items[15].z, -6);
    EXPECT_EQ(spinAngle, 1234.0 * 0.0002631578947368421);
    EXPECT_EQ(rowPhase, 1234.0 * 0.0004);

    VertexList reference;
    TriangleList unused;
    buildMesh(reference, unused);
    waveMesh(reference, 5.0 * spinAngle, rowPhase);
    composeShowFrame(2000, vertices, triangles, images);
    for (int i = 0; i < 225; ++i) ASSERT_EQ(vertices.items[i].z, reference.items[i].z) << i;
}

TEST_F(TimelineTest, JitterStartsAfterFortySeconds) {
    composeShowFrame(40000, vertices, triangles, images);
    EXPECT_EQ(randomState, kRandomSeed);
    composeShowFrame(40001, vertices, triangles, images);
    EXPECT_NE(randomState, kRandomSeed);
    EXPECT_EQ(vertices.items[193].x, 19);
    EXPECT_EQ(vertices.items[193].y, 85);
}

TEST_F(TimelineTest, FadeFrameDarkensTheLastPictureAndGivesTheVolume) {
    composeShowFrame(149990, vertices, triangles, images);
    Image last(640, 480);
    last.copyOpaque(screen, 0, 0);
    EXPECT_EQ(composeFadeFrame(155000), 128);
    EXPECT_EQ(musicTime, 155000);
    last.darken(3);
    EXPECT_EQ(std::memcmp(last.getPixels(), screen.getPixels(), 640 * 480 * 4), 0);
}

}  // namespace
