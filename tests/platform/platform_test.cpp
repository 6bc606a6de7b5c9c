// The capture's operating system layer, on every system it is built for:
// the encoder's pipe (bytes, arguments and exit codes arrive unchanged),
// the PATH search, output files written byte for byte, temporary files and
// folders. pipe_recorder stands in for the encoder.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "capture_platform.h"
#include "child_pipe.h"
#include "output_paths.h"

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr const char* kExeSuffix = ".exe";
#else
constexpr const char* kExeSuffix = "";
#endif

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void setEnvironment(const std::string& name, const std::string& value) {
#ifdef _WIN32
    ASSERT_EQ(_putenv_s(name.c_str(), value.c_str()), 0);
#else
    ASSERT_EQ(setenv(name.c_str(), value.c_str(), 1), 0);
#endif
}

class Scratch {
public:
    Scratch() {
        // ctest runs the cases as separate processes at the same time: the
        // name must differ between processes, which an unseeded rand() does not.
        static int count = 0;
        dir =
            fs::temp_directory_path() /
            ("demo_platform_test_" + std::to_string(++count) + "_" + std::to_string(std::random_device{}()) +
             "_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path dir;
};

fs::path recorder() { return fs::current_path() / (std::string("pipe_recorder") + kExeSuffix); }

class PipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setUpCaptureProcess();  // a reader that has gone must not end this process
        setEnvironment("PIPE_RECORDER_DIR", scratch.dir.string());
        setEnvironment("PIPE_RECORDER_EXIT", "0");
        setEnvironment("PIPE_RECORDER_READ", "1");
        setEnvironment("PIPE_RECORDER_FRAME", "");
        setEnvironment("PIPE_RECORDER_SAY", "");
        ASSERT_TRUE(fs::exists(recorder())) << recorder();
    }
    std::string output() const { return (scratch.dir / "out.mp4").string(); }

    Scratch scratch;
    ChildPipe child;
    std::string error;
};

TEST_F(PipeTest, BytesArriveUnchanged) {
    std::string bytes = "line\nwindows line\r\nend of file \x1a and a zero ";
    bytes += '\0';
    for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7 + i / 256);
    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error)) << error;
    ASSERT_TRUE(child.write(bytes.data(), 10, error)) << error;
    ASSERT_TRUE(child.write(bytes.data() + 10, bytes.size() - 10, error)) << error;
    const ChildPipe::Ending ending = child.wait();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.code, 0);
    EXPECT_FALSE(child.running());
    EXPECT_TRUE(readFile(scratch.dir / "stdin.bin") == bytes);
    EXPECT_EQ(readFile(output()), "recorded\n");
}

TEST_F(PipeTest, ArgumentsArriveUnchanged) {
    const std::vector<std::string> args = {"recorder",
                                           "plain",
                                           "two words",
                                           "",
                                           "say \"hi\"",
                                           "C:\\folder with space\\",
                                           "back\\\\slashes\\\"quote",
                                           "tab\there",
                                           output()};
    ASSERT_TRUE(child.start(recorder().string(), args, error)) << error;
    const ChildPipe::Ending ending = child.wait();
    ASSERT_TRUE(ending.exited);
    EXPECT_EQ(ending.code, 0);
    std::string expected;
    for (size_t i = 1; i < args.size(); ++i)
        expected += std::to_string(args[i].size()) + " " + args[i] + "\n";
    EXPECT_EQ(readFile(scratch.dir / "args.txt"), expected);
}

TEST_F(PipeTest, ExitCodeComesBack) {
    setEnvironment("PIPE_RECORDER_EXIT", "3");
    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error)) << error;
    ASSERT_TRUE(child.write("x", 1, error)) << error;
    const ChildPipe::Ending ending = child.wait();
    EXPECT_TRUE(ending.exited);
    EXPECT_EQ(ending.code, 3);
}

// The encoder's standard error is kept for its failure message; a program
// started without keeping it writes where we write, and nothing is kept.
TEST_F(PipeTest, KeptErrorsAreReadBackAfterTheEnd) {
    setEnvironment("PIPE_RECORDER_SAY", "first line\nno such codec\n");
    setEnvironment("PIPE_RECORDER_EXIT", "1");
    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error, true)) << error;
    const ChildPipe::Ending ending = child.wait();
    EXPECT_EQ(ending.code, 1);
    EXPECT_EQ(child.errors(), "first line\nno such codec\n");
    EXPECT_EQ(child.errors(), "first line\nno such codec\n") << "a second reading starts over";

    setEnvironment("PIPE_RECORDER_SAY", "");
    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error, true)) << error;
    child.wait();
    EXPECT_EQ(child.errors(), "") << "a new start keeps only the new program's errors";

    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error)) << error;
    child.wait();
    EXPECT_EQ(child.errors(), "");
}

TEST_F(PipeTest, WritingToAProgramThatStoppedReadingFails) {
    setEnvironment("PIPE_RECORDER_READ", "0");
    setEnvironment("PIPE_RECORDER_EXIT", "0");
    ASSERT_TRUE(child.start(recorder().string(), {"recorder", output()}, error)) << error;
    const std::vector<char> frame(size_t{640} * 480 * 4, 'p');
    bool failed = false;
    // The pipe's buffer takes some bytes; the program has ended long before 64 frames.
    for (int i = 0; i < 64 && !failed; ++i) failed = !child.write(frame.data(), frame.size(), error);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(child.wait().exited);
}

TEST_F(PipeTest, StartingAMissingProgramFailsWithAReason) {
    const std::string missing = (scratch.dir / (std::string("no_such_program") + kExeSuffix)).string();
    EXPECT_FALSE(child.start(missing, {"no_such_program"}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(child.running());
    EXPECT_FALSE(child.write("x", 1, error));
    EXPECT_FALSE(child.wait().exited);
}

TEST(WindowsCommandLine, QuotesOnlyWhereNeeded) {
    EXPECT_EQ(windowsCommandLine({"ffmpeg", "-i", "pipe:0"}), "ffmpeg -i pipe:0");
    EXPECT_EQ(windowsCommandLine({"a", ""}), "a \"\"");
    EXPECT_EQ(windowsCommandLine({"C:\\Program Files\\x.mp4"}), "\"C:\\Program Files\\x.mp4\"");
    // Backslashes before a quote are doubled, others stay single.
    EXPECT_EQ(windowsCommandLine({"C:\\dir with space\\"}), "\"C:\\dir with space\\\\\"");
    EXPECT_EQ(windowsCommandLine({"a\\b\\c"}), "a\\b\\c");
    EXPECT_EQ(windowsCommandLine({"say \"hi\""}), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(windowsCommandLine({"x\\\"y"}), "\"x\\\\\\\"y\"");
}

TEST(FindOnPath, FindsAProgramInAPathFolderOnly) {
    const char* saved = std::getenv("PATH");
    const std::string oldPath = saved != nullptr ? saved : "";
#ifdef _WIN32
    const char separator = ';';
#else
    const char separator = ':';
#endif
    Scratch empty;
    setEnvironment("PATH", empty.dir.string() + separator + fs::current_path().string());
    const std::string found = findOnPath("pipe_recorder");
    EXPECT_FALSE(found.empty());
    if (!found.empty()) {
        EXPECT_TRUE(fs::equivalent(found, recorder()));
    }
    EXPECT_EQ(findOnPath("no_such_program_here"), "");
    setEnvironment("PATH", empty.dir.string());
    EXPECT_EQ(findOnPath("pipe_recorder"), "");
    setEnvironment("PATH", oldPath);
}

TEST(OutputFiles, KeepEveryByte) {
    Scratch scratch;
    const std::string path = (scratch.dir / "frame.raw").string();
    std::string bytes = "\n\r\n\x1a\n";
    bytes += '\0';
    bytes += "\xff\n";
    for (int pass = 0; pass < 2; ++pass) {  // the second pass empties the file first
        FILE* file = openOutputStream(path.c_str());
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size() - pass, file), bytes.size() - pass);
        ASSERT_EQ(std::fclose(file), 0);
    }
    EXPECT_EQ(readFile(path), bytes.substr(0, bytes.size() - 1));
}

TEST(OutputFiles, FolderMadeOnceThenExists) {
    Scratch scratch;
    const std::string path = (scratch.dir / "frames").string();
    EXPECT_EQ(createFolder(path.c_str()), 0);
    EXPECT_TRUE(fs::is_directory(path));
    errno = 0;
    EXPECT_EQ(createFolder(path.c_str()), -1);
    EXPECT_EQ(errno, EEXIST);
}

TEST(OutputFiles, TemporaryFilesAreNewAndDistinct) {
    std::string first, second, error;
    ASSERT_TRUE(makeTemporaryFile(".wav", first, error)) << error;
    ASSERT_TRUE(makeTemporaryFile(".wav", second, error)) << error;
    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        EXPECT_TRUE(fs::is_regular_file(path)) << path;
        EXPECT_EQ(fs::file_size(path), 0u);
        EXPECT_EQ(path.substr(path.size() - 4), ".wav");
        fs::remove(path);
    }
}

// A stop removes files while they are still being written.
TEST(OutputFiles, StreamCanBeRemovedWhileOpen) {
    Scratch scratch;
    const std::string path = (scratch.dir / "demo.wav").string();
    FILE* file = openOutputStream(path.c_str());
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite("RIFF", 1, 4, file), 4u);
    removeFile(path.c_str());
    std::fclose(file);
    EXPECT_FALSE(fs::exists(path));
}

TEST(OutputPaths, SameFileByIdentityOrByResolvedName) {
    Scratch scratch;
    fs::create_directories(scratch.dir / "sub");
    const std::string a = (scratch.dir / "a.wav").string();
    const std::string b = (scratch.dir / "b.wav").string();
    std::ofstream(a) << "a";
    std::ofstream(b) << "b";
    const std::string aAgain = (scratch.dir / "sub" / ".." / "a.wav").string();
    EXPECT_TRUE(sameFile(a, aAgain));
    EXPECT_FALSE(sameFile(a, b));
    const std::string fresh = (scratch.dir / "new.mp4").string();
    EXPECT_TRUE(sameFile(fresh, (scratch.dir / "sub" / ".." / "new.mp4").string()));
    EXPECT_FALSE(sameFile(fresh, (scratch.dir / "other.mp4").string()));
    EXPECT_FALSE(sameFile(fresh, a));
    EXPECT_TRUE(fs::equivalent(fs::path(absolutePath(aAgain)), fs::path(a)));
    EXPECT_TRUE(fs::path(absolutePath("relative.wav")).is_absolute());
}

TEST(OutputPaths, TemporaryBesideMovesIntoPlaceOverAnOldFile) {
    Scratch scratch;
    const std::string target = (scratch.dir / "demo.mp4").string();
    std::ofstream(target) << "old";
    std::string temporary, error;
    ASSERT_TRUE(makeTemporaryBeside(target, temporary, error)) << error;
    EXPECT_NE(temporary, target);
    EXPECT_TRUE(fs::equivalent(fs::path(folderOf(temporary)), scratch.dir));
    EXPECT_TRUE(fs::is_regular_file(temporary));
    std::ofstream(temporary, std::ios::binary) << "new";
    ASSERT_TRUE(moveIntoPlace(temporary.c_str(), target.c_str(), error)) << error;
    EXPECT_EQ(readFile(target), "new");
    EXPECT_FALSE(fs::exists(temporary));

    EXPECT_FALSE(moveIntoPlace(temporary.c_str(), target.c_str(), error)) << "the source is gone";
    EXPECT_NE(error.find(target), std::string::npos) << error;
    EXPECT_EQ(readFile(target), "new");

    EXPECT_FALSE(makeTemporaryBeside((scratch.dir / "missing" / "demo.mp4").string(), temporary, error));
}

TEST(OutputPaths, DevicesAreNoRegularFiles) {
    Scratch scratch;
#ifdef _WIN32
    const std::vector<std::string> devices = {"NUL", "con", (scratch.dir / "nul.txt").string(),
                                              (scratch.dir / "COM1").string()};
#else
    const std::vector<std::string> devices = {"/dev/null"};
#endif
    for (const std::string& device : devices) {
        const PathFacts facts = pathFacts(device);
        EXPECT_TRUE(facts.exists) << device;
        EXPECT_FALSE(facts.isRegularFile) << device;
        EXPECT_FALSE(facts.isFolder) << device;
    }
    const PathFacts fresh = pathFacts((scratch.dir / "fresh.wav").string());
    EXPECT_FALSE(fresh.exists);
    EXPECT_TRUE(fresh.onOrdinaryFileSystem);
    const PathFacts folder = pathFacts(scratch.dir.string());
    EXPECT_TRUE(folder.isFolder && folder.writable && folder.onOrdinaryFileSystem);
}

TEST(OutputPaths, FolderOfAName) {
    EXPECT_EQ(folderOf("demo.wav"), ".");
    EXPECT_EQ(folderOf("out/demo.wav"), "out");
    EXPECT_EQ(folderOf("/demo.wav"), "/");
#ifdef _WIN32
    EXPECT_EQ(folderOf("out\\demo.wav"), "out");
    EXPECT_EQ(folderOf("C:\\demo.wav"), "C:\\");
    EXPECT_EQ(folderOf("C:demo.wav"), "C:");
#endif
}

}  // namespace
