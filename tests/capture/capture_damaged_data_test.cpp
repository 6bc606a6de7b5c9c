// Damaged data files: a module cut short is named and still played, one that
// plays nothing gives no soundtrack; damaged, missing and unreadable images
// are named and rendered; a music or image "file" that is a folder, a pipe
// or a device ends the capture at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture_test_support.h"

namespace {

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void cutModule(const ScratchDir& scratch, size_t size) {
    std::vector<uint8_t> module = readBytes("qzt_dmbl.xm");
    module.resize(size);
    writeBytes(scratch / "qzt_dmbl.xm", module);
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(CaptureDamagedModule, ACutModuleIsNamedOnceAndPlaysOn) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    cutModule(scratch, 90000);
    const ChildResult run = runCapture("--fps 1 --wav " + (out / "s.wav"), {}, scratch.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.err,
                    "demo_capture: the module 'qzt_dmbl.xm' is damaged: it has 90000 bytes, "
                    "its headers declare at least "),
              1u)
        << run.err;
    EXPECT_EQ(out.entries(), std::vector<std::string>{"s.wav"});
}

TEST(CaptureDamagedModule, AModuleThatPlaysNothingWritesNothing) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    cutModule(scratch, 1000);
    const std::string args = "--fps 1 --frames " + (out / "f") + " --wav " + (out / "s.wav");
    const ChildResult run = runCapture(args, {}, scratch.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(count(run.err, "the module 'qzt_dmbl.xm' is damaged"), 1u) << run.err;
    EXPECT_NE(run.err.find("demo_capture: the music 'qzt_dmbl.xm' plays no sound in the whole timeline\n"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(out.entries().empty());
}

TEST(CaptureDamagedImages, EachIsNamedOnceWithItsSizesAndTheFramesStillCome) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    const ChildResult intact =
        runCapture("--fps 1 --frames " + (out / "a") + " --only 0", {}, scratch.path());
    EXPECT_EQ(intact.exitCode, 0) << intact.err;
    EXPECT_EQ(intact.err.find("the image"), std::string::npos) << intact.err;

    writeBytes(scratch / "welt.raw", {});
    writeBytes(scratch / "flare.raw", std::vector<uint8_t>(100, 7));
    std::vector<uint8_t> longer = readBytes("flare2.raw");
    longer.resize(longer.size() + 10);
    writeBytes(scratch / "flare2.raw", longer);
    writeBytes(scratch / "font.raw", std::vector<uint8_t>(96001, 1));
    const ChildResult run = runCapture("--fps 1 --frames " + (out / "b") + " --only 0", {}, scratch.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {"demo_capture: the image 'welt.raw' has 0 bytes, expected 921600 bytes\n",
                             "demo_capture: the image 'flare.raw' has 100 bytes, expected 3072 bytes\n",
                             "demo_capture: the image 'flare2.raw' has 442 bytes, expected 432 bytes\n",
                             "demo_capture: the image 'font.raw' has 96001 bytes, expected 96000 bytes\n"}) {
        EXPECT_EQ(count(run.err, line), 1u) << line << run.err;
    }
    EXPECT_EQ(std::filesystem::file_size(out / "b/frame_00000.ppm"), 921615u);
    EXPECT_EQ(run.out, intact.out) << "the console output is the demo's own";
}

// The loader names a missing image on standard output, as the demo does;
// the capture also names it, and an unreadable one, on standard error.
TEST(CaptureDamagedImages, MissingAndUnreadableImagesAreNamedOnStandardError) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    std::filesystem::remove(scratch / "flare.raw");
    std::filesystem::permissions(scratch / "font.raw", std::filesystem::perms::none);
    const ChildResult run = runCaptureCopy("--fps 1 --frames " + (out / "f") + " --only 0", scratch.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.err, "demo_capture: the image 'flare.raw' is missing\n"), 1u) << run.err;
    EXPECT_NE(run.out.find("flare.raw"), std::string::npos) << "the loader's own message: " << run.out;
    if (!runningAsRoot()) {
        EXPECT_EQ(count(run.err, "demo_capture: the image 'font.raw' cannot be read: Permission denied\n"),
                  1u)
            << run.err;
    }
}

// A folder, a pipe or a device where a data file should be: the capture
// says which and ends before any work, without waiting on the pipe.
TEST(CaptureNotAFile, ImagesAndMusicThatAreNoFilesEndTheCaptureAtOnce) {
    struct Case {
        const char* file;
        const char* kind;  // folder, fifo, or a device to link to
        const char* message;
    };
    const Case cases[] = {
        {"font.raw", "folder", "the image 'font.raw' is a folder, expected a file of 96000 bytes"},
        {"welt.raw", "fifo", "the image 'welt.raw' is not a regular file, expected a file of 921600 bytes"},
        {"flare.raw", "/dev/zero",
         "the image 'flare.raw' is not a regular file, expected a file of 3072 bytes"},
        {"qzt_dmbl.xm", "fifo", "cannot read the music 'qzt_dmbl.xm': it is not a regular file"},
        {"qzt_dmbl.xm", "/dev/zero", "cannot read the music 'qzt_dmbl.xm': it is not a regular file"},
        {"qzt_dmbl.xm", "folder", "cannot read the music 'qzt_dmbl.xm': it is not a regular file"},
    };
    for (const Case& c : cases) {
        ScratchDir scratch, out;
        copyDataFiles(scratch);
        const std::string path = scratch / c.file;
        std::filesystem::remove(path);
        if (std::string(c.kind) == "folder") {
            std::filesystem::create_directory(path);
        } else if (std::string(c.kind) == "fifo") {
            ASSERT_TRUE(makeFifo(path));
        } else {
            std::filesystem::create_symlink(c.kind, path);
        }
        const ChildResult run = runCapture("--fps 1 --frames " + (out / "f") + " --wav " + (out / "s.wav"),
                                           {}, scratch.path(), "", std::chrono::seconds(20));
        EXPECT_FALSE(run.timedOut) << c.file << " as " << c.kind;
        EXPECT_EQ(run.exitCode, 1) << c.file << " as " << c.kind;
        EXPECT_EQ(run.err, std::string("demo_capture: ") + c.message + "\n") << c.file << " as " << c.kind;
        EXPECT_TRUE(out.entries().empty()) << c.file << " as " << c.kind;
    }
}

}  // namespace
