// The module loads in two independent players. Both exit 0 even when loading
// fails, so what they print is what tells.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <string>

namespace {

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return out;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
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
    const std::string out = commandOutput("openmpt123 --info qzt_dmbl.xm");
    EXPECT_NE(out.find("Type.......: xm (FastTracker 2 v1.04)"), std::string::npos) << out;
    EXPECT_NE(out.find("Duration...: 02:4"), std::string::npos) << out;
    expectNoComplaint(out);
}

TEST(ModulePlayers, LibxmpLoadsItAsAnXm) {
    const std::string out = commandOutput("xmp --load-only qzt_dmbl.xm");
    EXPECT_NE(out.find("XM 1.04"), std::string::npos) << out;
    EXPECT_NE(out.find("Duration     : 2min4"), std::string::npos) << out;
    expectNoComplaint(out);
}

TEST(ModulePlayers, TheChecksCatchAFileThatDoesNotLoad) {
    const std::string path = testing::TempDir() + "not_a_module.xm";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("Extended Module: this is not a module", f);
    std::fclose(f);
    const std::string lower = lowerCase(commandOutput("xmp --load-only " + path) + commandOutput("openmpt123 --info " + path));
    EXPECT_NE(lower.find("error"), std::string::npos) << lower;
}

}  // namespace
