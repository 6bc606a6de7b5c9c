// Damaged data files: a module cut short is named and still played, one that
// plays nothing gives no soundtrack; damaged images are named and rendered.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture_test_support.h"

namespace {

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
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
    const CaptureRun run = runCapture(out, "--fps 1 --wav " + (out / "s.wav"), "", scratch.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.err, "demo_capture: the module 'qzt_dmbl.xm' is damaged: it has 90000 bytes, "
                             "its headers declare at least "), 1u) << run.err;
    EXPECT_EQ(out.entries(), std::vector<std::string>{"s.wav"});
}

TEST(CaptureDamagedModule, AModuleThatPlaysNothingWritesNothing) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    cutModule(scratch, 1000);
    const std::string args = "--fps 1 --frames " + (out / "f") + " --wav " + (out / "s.wav");
    const CaptureRun run = runCapture(out, args, "", scratch.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(count(run.err, "the module 'qzt_dmbl.xm' is damaged"), 1u) << run.err;
    EXPECT_NE(run.err.find("demo_capture: the music 'qzt_dmbl.xm' plays no sound in the whole timeline\n"),
              std::string::npos) << run.err;
    EXPECT_TRUE(out.entries().empty());
}

TEST(CaptureDamagedImages, EachIsNamedOnceWithItsSizesAndTheFramesStillCome) {
    ScratchDir scratch, out;
    copyDataFiles(scratch);
    const CaptureRun intact = runCapture(out, "--fps 1 --frames " + (out / "a") + " --only 0", "", scratch.path());
    EXPECT_EQ(intact.exitCode, 0) << intact.err;
    EXPECT_EQ(intact.err.find("the image"), std::string::npos) << intact.err;

    writeBytes(scratch / "welt.raw", {});
    writeBytes(scratch / "flare.raw", std::vector<uint8_t>(100, 7));
    std::vector<uint8_t> longer = readBytes("flare2.raw");
    longer.resize(longer.size() + 10);
    writeBytes(scratch / "flare2.raw", longer);
    std::filesystem::remove(scratch / "font.raw");
    std::filesystem::create_directory(scratch / "font.raw");
    const CaptureRun run = runCapture(out, "--fps 1 --frames " + (out / "b") + " --only 0", "", scratch.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const char* line : {"demo_capture: the image 'welt.raw' has 0 bytes, expected 921600 bytes\n",
                             "demo_capture: the image 'flare.raw' has 100 bytes, expected 3072 bytes\n",
                             "demo_capture: the image 'flare2.raw' has 442 bytes, expected 432 bytes\n",
                             "demo_capture: the image 'font.raw' is a folder, expected a file of 96000 bytes\n"}) {
        EXPECT_EQ(count(run.err, line), 1u) << line << run.err;
    }
    EXPECT_EQ(std::filesystem::file_size(out / "b/frame_00000.ppm"), 921615u);
    EXPECT_EQ(run.out, intact.out) << "the console output is the demo's own";
}

}  // namespace
