#pragma once
// Programs started by the tests: argv without a shell, an optional working
// folder, changes to the environment, standard output and error collected in
// files, and how the program ended.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Variables set for the child on top of the test's own; an empty value
// removes the variable.
using Environment = std::vector<std::pair<std::string, std::string>>;

// A program running beside the test: signalled, waited for, killed. The
// destructor stops it (SIGTERM, then SIGKILL) if it still runs. argv[0] is
// looked up on the test's PATH; folder empty: the test's current folder.
class StartedProgram {
public:
    explicit StartedProgram(const std::vector<std::string>& argv, const Environment& environment = {},
                            const std::string& folder = "");
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // The exit code, 128 + the signal when one ended it, or nothing while
    // it still runs after timeoutMs.
    std::optional<int> waitForExit(int timeoutMs);
    bool running() { return !waitForExit(0).has_value(); }
    // Whether the standard output holds text before timeoutMs.
    bool waitForOutput(const std::string& text, int timeoutMs);
    void signal(int number) const;
    void kill();
    // The signal that ended the program, 0 when it exited or still runs.
    int endSignal() const { return endSignal_; }
    std::string output() const;
    std::string errorOutput() const;

private:
    int64_t pid_ = -1;
    int endSignal_ = 0;
    std::optional<int> exitCode_;
    std::string outputPath_;
    std::string errorPath_;
};

struct ChildResult {
    bool exited = false;  // ended through exit (not a signal, not killed for time)
    int exitCode = -1;
    int signal = 0;         // the signal that ended it, if one did
    bool timedOut = false;  // still running after the time limit, then killed
    std::string out;        // standard output, byte for byte
    std::string err;        // standard error
};

// Runs argv to its end, or kills it after limit.
ChildResult runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
                       const Environment& environment = {}, const std::string& folder = "");

// The process id of the test itself, for names of its own.
int64_t currentProcessId();
