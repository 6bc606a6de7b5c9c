// Where the programs find their data files: the choice among candidate
// folders, the folder of the running program, and a program started in a
// folder without data, which enters the folder beside its program file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver/data_folder.h"
#include "scene/data_files.h"
#include "support/system.h"

namespace {

namespace fs = std::filesystem;

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

TEST(DataFolder, TheFirstFolderHoldingAnyDataFileIsChosen) {
    const Candidate none({}), some({kFontFile.name}), song({kSongFileName}), all({"welt.raw", "flare.raw"});
    EXPECT_EQ(chooseDataFolder({none.prefix(), some.prefix(), all.prefix()}), some.prefix());
    EXPECT_EQ(chooseDataFolder({none.prefix(), song.prefix()}), song.prefix());
    EXPECT_EQ(chooseDataFolder({all.prefix(), some.prefix()}), all.prefix());
    EXPECT_EQ(chooseDataFolder({none.prefix(), "/nonexistent/folder/"}), "") << "none: the working folder";
    EXPECT_EQ(chooseDataFolder({}), "");
}

TEST(DataFolder, TheWorkingFolderComesFirstWhenItHoldsData) {
    // The tests run in the build's program folder, beside the data files.
    const Candidate all({"welt.raw"});
    EXPECT_EQ(chooseDataFolder({"", all.prefix()}), "");
    EXPECT_EQ(findDataFolder(), "");
}

TEST(DataFolder, TheProgramsFolderIsTheFolderOfItsFile) {
    EXPECT_EQ(executableFolder(), fs::canonical(DEMO_RUN_DIR).string() + "/");
}

TEST(DataFolder, AProgramStartedInAFolderWithoutDataEntersTheFolderBesideItsFile) {
    const Candidate empty({});
    const fs::path start = fs::current_path();
    fs::current_path(empty.prefix());
    enterDataFolder();
    const fs::path entered = fs::current_path();
    fs::current_path(start);
    EXPECT_EQ(entered, fs::canonical(DEMO_RUN_DIR));
}

}  // namespace
