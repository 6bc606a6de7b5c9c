// The module loads in two independent players. Both exit 0 even when loading
// fails, so what they print is what tells.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>

#include "support/process.h"

namespace {

// Standard output, then standard error.
std::string programOutput(const std::vector<std::string>& argv) {
    const ChildResult run = runProgram(argv, std::chrono::seconds(60));
    return run.out + run.err;
}

std::string lowerCase(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void expectNoComplaint(const std::string& output) {
    const std::string lower = lowerCase(output);
    for (const char* word : {"error", "warning", "unrecognized", "unknown"})
        EXPECT_EQ(lower.find(word), std::string::npos) << word << " in:\n" << output;
}

TEST(ModulePlayers, LibopenmptReadsItAsAnXmOfFullLength) {
    const std::string out = programOutput({"openmpt123", "--info", "qzt_dmbl.xm"});
    EXPECT_NE(out.find("Type.......: xm (FastTracker 2 v1.04)"), std::string::npos) << out;
    EXPECT_NE(out.find("Duration...: 02:4"), std::string::npos) << out;
    expectNoComplaint(out);
}

TEST(ModulePlayers, LibxmpLoadsItAsAnXm) {
    const std::string out = programOutput({"xmp", "--load-only", "qzt_dmbl.xm"});
    EXPECT_NE(out.find("XM 1.04"), std::string::npos) << out;
    EXPECT_NE(out.find("Duration     : 2min4"), std::string::npos) << out;
    expectNoComplaint(out);
}

TEST(ModulePlayers, TheChecksCatchAFileThatDoesNotLoad) {
    const std::string path = testing::TempDir() + "not_a_module.xm";
    std::ofstream(path) << "Extended Module: this is not a module";
    const std::string lower = lowerCase(programOutput({"xmp", "--load-only", path}) +
                                        programOutput({"openmpt123", "--info", path}));
    EXPECT_NE(lower.find("error"), std::string::npos) << lower;
}

}  // namespace
