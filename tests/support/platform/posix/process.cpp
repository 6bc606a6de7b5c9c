#include "support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/files.h"

extern char** environ;

namespace {

std::string freshFile(const char* role) {
    std::string path = std::string("/tmp/test_child_") + role + "_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) close(fd);
    return path;
}

// The test's environment with the changes applied, as NAME=value entries.
std::vector<std::string> changedEnvironment(const Environment& changes) {
    std::vector<std::string> result;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool changed = false;
        for (const auto& change : changes)
            changed = changed || entry.substr(0, entry.find('=')) == change.first;
        if (!changed) result.push_back(entry);
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) result.push_back(name + "=" + value);
    }
    return result;
}

std::vector<char*> cStrings(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

StartedProgram::StartedProgram(const std::vector<std::string>& argv, const Environment& environment,
                               const std::string& folder)
    : outputPath_(freshFile("out")), errorPath_(freshFile("err")) {
    std::vector<std::string> args = argv;
    std::vector<std::string> settings = changedEnvironment(environment);
    std::vector<char*> argPointers = cStrings(args);
    std::vector<char*> envPointers = cStrings(settings);
    const pid_t child = fork();
    pid_ = child;
    if (child < 0) exitCode_ = 127;
    if (child != 0) return;
    // Between fork and exec only calls that are safe in a copy of a threaded process.
    setpgid(0, 0);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outputPath_.c_str(), O_WRONLY | O_TRUNC);
    const int err = open(errorPath_.c_str(), O_WRONLY | O_TRUNC);
    if ((!folder.empty() && chdir(folder.c_str()) != 0) || in < 0 || out < 0 || err < 0 ||
        dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) {
        _exit(127);
    }
    execvpe(argPointers[0], argPointers.data(), envPointers.data());
    _exit(127);
}

StartedProgram::~StartedProgram() {
    if (!exitCode_) {
        signal(SIGTERM);
        if (!waitForExit(2000)) kill();
    }
    std::remove(outputPath_.c_str());
    std::remove(errorPath_.c_str());
}

std::optional<int> StartedProgram::waitForExit(int timeoutMs) {
    for (int waited = 0; !exitCode_; waited += 10) {
        int status = 0;
        if (waitpid(static_cast<pid_t>(pid_), &status, WNOHANG) == pid_) {
            endSignal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + endSignal_;
        } else if (waited >= timeoutMs) {
            break;
        } else {
            pauseMs(10);
        }
    }
    return exitCode_;
}

bool StartedProgram::waitForOutput(const std::string& text, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (output().find(text) != std::string::npos) return true;
        if (!running()) return output().find(text) != std::string::npos;
        pauseMs(20);
    }
    return false;
}

void StartedProgram::signal(int number) const {
    if (pid_ > 0 && !exitCode_) ::kill(static_cast<pid_t>(pid_), number);
}

void StartedProgram::kill() {
    signal(SIGKILL);
    waitForExit(60'000);
}

std::string StartedProgram::output() const { return readText(outputPath_); }

std::string StartedProgram::errorOutput() const { return readText(errorPath_); }

ChildResult runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
                       const Environment& environment, const std::string& folder) {
    StartedProgram program(argv, environment, folder);
    ChildResult result;
    const std::optional<int> exitCode = program.waitForExit(static_cast<int>(limit.count()));
    if (!exitCode) {
        program.kill();
        result.timedOut = true;
    } else if (program.endSignal() != 0) {
        result.signal = program.endSignal();
    } else {
        result.exited = true;
        result.exitCode = *exitCode;
    }
    result.out = program.output();
    result.err = program.errorOutput();
    return result;
}

int64_t currentProcessId() { return getpid(); }
