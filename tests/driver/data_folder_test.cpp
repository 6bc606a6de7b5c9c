// Where the programs find their data files: the choice among candidate
// folders, the folder of the running program, and a program started in a
// folder without the complete set of data, which enters the folder beside
// its program file.
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

// Stray files named like data files (the four images, no music) do not make
// the working folder the data folder.
TEST(DataFolder, AProgramStartedInAFolderWithoutTheCompleteSetEntersTheFolderBesideItsFile) {
    const fs::path start = fs::current_path();
    for (const std::vector<const char*>& files :
         {std::vector<const char*>{},
          {kBackgroundFile.name, kFlareFile.name, kSmallFlareFile.name, kFontFile.name}}) {
        const Candidate folder(files);
        fs::current_path(folder.prefix());
        enterDataFolder();
        const fs::path entered = fs::current_path();
        fs::current_path(start);
        EXPECT_EQ(entered, fs::canonical(DEMO_RUN_DIR)) << files.size() << " files in the working folder";
    }
}

}  // namespace
