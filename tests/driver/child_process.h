#pragma once
// Runs a program as a child process in a chosen folder with extra
// environment variables, and collects its output and how it ended.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

struct ChildResult {
    bool exited = false;    // ended through exit (not a signal, not killed for time)
    int exitCode = -1;
    int signal = 0;         // the signal that ended it, if one did
    bool timedOut = false;  // still running after the time limit, then killed
    std::string out;        // standard output, byte for byte
    std::string err;        // standard error
};

using Environment = std::vector<std::pair<std::string, std::string>>;

ChildResult runChild(const std::string& program, const std::string& folder, const Environment& extra,
                     std::chrono::seconds limit);

// Whether a sanitizer or the runtime reported a fault on standard error.
bool reportsFault(const std::string& err);

std::string readFile(const std::string& path);
