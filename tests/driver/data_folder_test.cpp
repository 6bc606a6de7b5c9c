// Where the programs find their data files: the choice among candidate
// folders, the folder of the running program, and a demo started in a
// folder without the complete set of data, which runs on the data beside its
// program file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver/data_folder.h"
#include "run_folder.h"
#include "scene/data_files.h"
#include "support/system.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace transcript;

// A fresh folder holding the named files (empty ones), given as a prefix.
class Candidate {
public:
    explicit Candidate(const std::vector<const char*>& files) {
        dir = makeFreshFolder(fs::temp_directory_path().string(), "data_folder");
        for (const char* name : files) std::ofstream(fs::path(dir) / name).put('x');
    }
    ~Candidate() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string prefix() const { return dir + "/"; }

private:
    std::string dir;
};

TEST(DataFolder, TheFirstFolderHoldingTheCompleteSetIsChosen) {
    const std::vector<const char*> allFiles{kBackgroundFile.name, kFlareFile.name, kSmallFlareFile.name,
                                            kFontFile.name, kSongFileName};
    std::vector<const char*> allButSong = allFiles;
    allButSong.pop_back();
    const Candidate none({}), stray({kBackgroundFile.name}), song({kSongFileName}), images(allButSong),
        all(allFiles), another(allFiles);
    EXPECT_EQ(chooseDataFolder({stray.prefix(), all.prefix()}), all.prefix())
        << "a stray file is passed over";
    EXPECT_EQ(chooseDataFolder({images.prefix(), song.prefix(), all.prefix()}), all.prefix());
    EXPECT_EQ(chooseDataFolder({none.prefix(), all.prefix(), another.prefix()}), all.prefix());
    EXPECT_EQ(chooseDataFolder({stray.prefix(), images.prefix(), "/nonexistent/folder/"}), "")
        << "no complete set: the working folder";
    EXPECT_EQ(chooseDataFolder({}), "");
}

TEST(DataFolder, TheWorkingFolderComesFirstWhenItHoldsData) {
    // The tests run in the build's program folder, beside the data files.
    const Candidate all(
        {kBackgroundFile.name, kFlareFile.name, kSmallFlareFile.name, kFontFile.name, kSongFileName});
    EXPECT_EQ(chooseDataFolder({"", all.prefix()}), "");
    EXPECT_EQ(findDataFolder(), "");
}

TEST(DataFolder, TheProgramsFolderIsTheFolderOfItsFile) {
    EXPECT_EQ(executableFolder(), fs::canonical(DEMO_RUN_DIR).string() + "/");
}

// A stray file named like a data file (here a damaged background) does not
// make the working folder the data folder.
TEST(DataFolder, ADemoStartedInAFolderWithoutTheCompleteSetRunsOnTheDataBesideItsProgram) {
    RunFolder folder({kFlareFile.name, kSmallFlareFile.name, kFontFile.name, kSongFileName});
    std::ofstream(folder.file(kBackgroundFile.name), std::ios::trunc).put('x');
    ASSERT_TRUE(folder.ready());
    const Environment environment{{"SDL_AUDIODRIVER", "dummy"},
                                  {"DEMO_TEST_CLOCK_OFFSET_MS", "159000"},
                                  {"DEMO_TEST_VOLUME_LOG", folder.file("volume.log")},
                                  {"DEMO_TEST_DISPLAY_LOG", folder.file("display.log")}};
    const ChildResult run = folder.run("driver_scripted_demo", environment, 120s);
    EXPECT_TRUE(run.exited) << "ended by signal " << run.signal;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, fullRun()) << "no loader message, no sound error, nothing extra";
    EXPECT_NE(readText(folder.file("display.log")), "");
}

}  // namespace
