// The demo's ends with the real sound library on SDL's dummy output and a
// scripted display: sound failures, a failed display start, and a library of
// the wrong version. Each checks standard output byte for byte and the exit code.
#include <gtest/gtest.h>

#include "run_folder.h"
#include "support/system.h"

namespace {

using namespace std::chrono_literals;
using namespace transcript;

constexpr const char kDemo[] = "driver_scripted_demo";
const Environment kDummyAudio{{"SDL_AUDIODRIVER", "dummy"}};

void expectCleanEnd(const ChildResult& run, int exitCode) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.exited) << "ended by signal " << run.signal;
    EXPECT_EQ(run.exitCode, exitCode);
    EXPECT_FALSE(reportsFault(run.err)) << run.err;
}

TEST(DriverEnds, MissingModuleReportsFileNotFound) {
    RunFolder folder({"qzt_dmbl.xm"});
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.runCopy(kDemo, kDummyAudio, 60s);
    expectCleanEnd(run, 1);
    EXPECT_EQ(run.out, std::string(kStart) + kLoadingSound + "File not found\n");
}

// A pipe never opens for reading until someone writes into it: the music is
// not found, an image is missing, and the run goes on as for missing files.
TEST(DriverEnds, PipesWhereDataFilesShouldBeAreNotWaitedFor) {
    RunFolder noMusic({"qzt_dmbl.xm"});
    ASSERT_TRUE(noMusic.ready());
    ASSERT_TRUE(makeFifo(noMusic.file("qzt_dmbl.xm")));
    const ChildResult music = noMusic.run(kDemo, kDummyAudio, 30s);
    expectCleanEnd(music, 1);
    EXPECT_EQ(music.out, std::string(kStart) + kLoadingSound + "File not found\n");

    RunFolder noImage({"welt.raw"});
    ASSERT_TRUE(noImage.ready());
    ASSERT_TRUE(makeFifo(noImage.file("welt.raw")));
    Environment environment = kDummyAudio;
    environment.push_back({"DEMO_TEST_DISPLAY_FAIL", "1"});
    const ChildResult image = noImage.run(kDemo, environment, 30s);
    expectCleanEnd(image, 1);
    EXPECT_EQ(image.out, std::string(kStart) +
                             "Fehler beim \xC3\xB6"
                             "ffnen der Bilddatei: welt.raw" +
                             kLoadingSound + kInitDisplay + kDisplayFailed);
}

TEST(DriverEnds, NoAudioOutputReportsTheOutputDevice) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.run(kDemo, {{"SDL_AUDIODRIVER", "nosuchdriver"}}, 60s);
    expectCleanEnd(run, 1);
    EXPECT_EQ(run.out, std::string(kStart) + kLoadingSound + "Error initializing output device.\n");
}

TEST(DriverEnds, WrongLibraryVersionIsRefused) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    const ChildResult run = folder.run("driver_wrong_version_demo", kDummyAudio, 60s);
    expectCleanEnd(run, 1);
    EXPECT_EQ(run.out, std::string(kStart) + kLoadingSound +
                           "Error : You are using the wrong DLL version!  You should be using FMOD 3.20\n");
}

// main returns 1 while the song still plays: the process must still end
// cleanly, with the audio thread running through the exit handlers.
TEST(DriverEnds, FailedDisplayStartEndsWithOneWhileTheSongPlays) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    Environment environment = kDummyAudio;
    environment.push_back({"DEMO_TEST_DISPLAY_FAIL", "1"});
    environment.push_back({"DEMO_TEST_DISPLAY_LOG", folder.file("display.log")});
    environment.push_back({"DEMO_TEST_VOLUME_LOG", folder.file("volume.log")});
    const ChildResult run = folder.run(kDemo, environment, 60s);
    expectCleanEnd(run, 1);
    EXPECT_EQ(run.out, upToDisplay() + kDisplayFailed);
    EXPECT_EQ(run.err, "cannot start the display: the scripted display failed\n");
    EXPECT_EQ(readText(folder.file("display.log")), "init test 640 480\n");
    EXPECT_EQ(readText(folder.file("volume.log")), "");
}

// Standard output into a pipe whose reader has gone: the messages are lost
// and the show goes on, here to an Escape after one second of music.
TEST(DriverEnds, OutputIntoAClosedPipeDoesNotStopTheShow) {
    RunFolder folder;
    ASSERT_TRUE(folder.ready());
    Environment environment = kDummyAudio;
    environment.push_back({"DEMO_TEST_ESCAPE_AT_MS", "1000"});
    environment.push_back({"DEMO_TEST_DISPLAY_LOG", folder.file("display.log")});
    // The reader, true, has long ended when the demo starts writing.
    const std::string demo = std::string(DEMO_RUN_DIR) + "/" + kDemo;
    const ChildResult run =
        runProgram({"bash", "-c", "{ sleep 1; exec \"$0\"; } | true; exit ${PIPESTATUS[0]}", demo}, 60s,
                   environment, folder.path());
    expectCleanEnd(run, 0);
    EXPECT_EQ(run.err, "");
    const std::string log = readText(folder.file("display.log"));
    EXPECT_EQ(log.rfind("init test 640 480\nshutdown after ", 0), 0u) << log;
}

}  // namespace
