#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "effects/wave.h"
#include "scene/scroll_message.h"
#include "scene/show.h"

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

TEST(ScrollMessage, InPlaceWithItsTerminator) {
    const Show show;
    EXPECT_STREQ(show.scrollText().data(), kScrollMessage);
    EXPECT_EQ(show.scrollText()[std::strlen(kScrollMessage) + 1], 0);
}

// Small synthetic pictures, so the show needs no data files.
void paintPictures(ShowImages& images) {
    images.background.fill(0x00646464);
    images.flare.fill(0x00101010);
    images.font.fill(0x00FFFFFF);
}

// One show as the demo sets it up.
class ShowTest : public testing::Test {
protected:
    void SetUp() override {
        paintPictures(show.images());
        show.setUp();
    }
    bool sameFrame(const Image& other) const {
        return std::memcmp(show.frame().getPixels(), other.getPixels(), 640 * 480 * 4) == 0;
    }
    Show show;
};

TEST_F(ShowTest, SetUpClearsTheFrameDarkensBackgroundAndProjectsOnce) {
    EXPECT_EQ(show.vertices().count, 225);
    EXPECT_EQ(show.triangles().count, 196);
    EXPECT_EQ(show.spinAngle(), 1.0);
    EXPECT_EQ(show.rowPhase(), 1.0);
    EXPECT_EQ(show.frame().getPixels()[1000], 0u);
    EXPECT_EQ(show.images().background.getPixels()[0], 0x00646464u);  // row 0 is never darkened
    EXPECT_EQ(show.images().background.getPixels()[640 * 5], 0x00323232u);
    EXPECT_EQ(show.vertices().items[0].depth, 131);  // (-225, -225, 0) at spin 1.0
}

TEST_F(ShowTest, ShowFrameUsesPreviousAnglesThenDerivesNextOnes) {
    show.composeShowFrame(1234);
    EXPECT_EQ(show.musicTime(), 1234);
    // The first frame waves with the start-up angles (column phase 5, row phase 1).
    EXPECT_EQ(show.vertices().items[0].z, -11);
    EXPECT_EQ(show.vertices().items[15].z, -6);
    EXPECT_EQ(show.spinAngle(), 1234.0 * 0.0002631578947368421);
    EXPECT_EQ(show.rowPhase(), 1234.0 * 0.0004);

    VertexList reference;
    TriangleList unused;
    buildMesh(reference, unused);
    waveMesh(reference, 5.0 * show.spinAngle(), show.rowPhase(), 2000);
    show.composeShowFrame(2000);
    for (int i = 0; i < 225; ++i) ASSERT_EQ(show.vertices().items[i].z, reference.items[i].z) << i;
}

TEST_F(ShowTest, JitterStartsAfterFortySeconds) {
    show.composeShowFrame(40000);
    EXPECT_EQ(show.random().bits, kRandomSeed);
    show.composeShowFrame(40001);
    EXPECT_NE(show.random().bits, kRandomSeed);
    EXPECT_EQ(show.vertices().items[193].x, 19);
    EXPECT_EQ(show.vertices().items[193].y, 85);
}

TEST_F(ShowTest, FadeFrameDarkensTheLastPicture) {
    show.composeShowFrame(149990);
    Image last(640, 480);
    last.copyOpaque(show.frame(), 0, 0);
    show.composeFadeFrame(155000);
    EXPECT_EQ(show.musicTime(), 155000);
    last.darken(3);
    EXPECT_TRUE(sameFrame(last));
}

// The phases follow the previous reading: the frame read at 150010 ms is
// still a show frame, the fade then runs until a reading reaches 160000,
// and a reading that falls back below the show end after that still fades.
TEST_F(ShowTest, StepsThroughShowFadeAndStop) {
    EXPECT_EQ(show.step(149990).action, ShowAction::Present);
    EXPECT_EQ(show.step(150010).action, ShowAction::Present);
    const ShowStep fade = show.step(155000);
    EXPECT_EQ(fade.action, ShowAction::SetVolumeAndPresent);
    EXPECT_EQ(fade.volume, 128);
    EXPECT_EQ(show.step(100).action, ShowAction::SetVolumeAndPresent);
    EXPECT_FALSE(show.finished());
    EXPECT_EQ(show.step(160000).volume, 0);
    EXPECT_TRUE(show.finished());
    const ShowStep after = show.step(170000);
    EXPECT_EQ(after.action, ShowAction::Stop);
    EXPECT_EQ(show.musicTime(), 160000);  // a Stop composes nothing and keeps the reading
}

TEST_F(ShowTest, AReadingPastTheFadeEndsTheShowWithoutFading) {
    EXPECT_EQ(show.step(170000).action, ShowAction::Present);
    EXPECT_TRUE(show.finished());
    EXPECT_EQ(show.step(170001).action, ShowAction::Stop);
}

// Passing a frame carries over what composing it would, so the next
// composed frame is the same.
TEST_F(ShowTest, PassedFramesLeaveTheSameStateAsComposedOnes) {
    Show passed;
    paintPictures(passed.images());
    passed.setUp();
    for (int32_t t = 39000; t < 62000; t += 700) {
        show.composeShowFrame(t);
        passed.passShowFrame(t);
    }
    passed.composeShowFrame(62000);
    show.composeShowFrame(62000);
    EXPECT_TRUE(sameFrame(passed.frame()));
}

TEST_F(ShowTest, RestoredSnapshotComposesTheSameFrameAgain) {
    for (int32_t t = 40001; t < 41000; t += 20) show.composeShowFrame(t);
    const Show::Snapshot saved = show.snapshot();
    show.composeShowFrame(41000);
    Image first(640, 480);
    first.copyOpaque(show.frame(), 0, 0);
    show.composeShowFrame(41020);
    show.restore(saved);
    show.composeShowFrame(41000);
    EXPECT_TRUE(sameFrame(first));
}

// No state is shared between shows: two shows stepped in turn at different
// moments compose the frames that one show alone composes.
TEST(TwoShows, InterleavedComposeWhatOneAloneComposes) {
    Show alone, first, second;
    for (Show* s : {&alone, &first, &second}) {
        paintPictures(s->images());
        s->setUp();
    }
    std::vector<uint32_t> aloneFrames;
    for (int32_t k = 0; k < 700; ++k) {
        (void)first.step(39000 + k * 20);
        (void)second.step(120000 + k * 20);
    }
    for (int32_t k = 0; k < 700; ++k) (void)alone.step(39000 + k * 20);
    EXPECT_EQ(std::memcmp(alone.frame().getPixels(), first.frame().getPixels(), 640 * 480 * 4), 0);
    EXPECT_EQ(alone.random().bits, first.random().bits);

    Show late;
    paintPictures(late.images());
    late.setUp();
    for (int32_t k = 0; k < 700; ++k) (void)late.step(120000 + k * 20);
    EXPECT_EQ(std::memcmp(late.frame().getPixels(), second.frame().getPixels(), 640 * 480 * 4), 0);
}

}  // namespace
