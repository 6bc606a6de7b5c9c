#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// In the child between fork and exec: folder, environment, output files.
[[noreturn]] void becomeProgram(const std::string& program, const std::string& folder,
                                const Environment& extra, const std::string& outPath,
                                const std::string& errPath) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : extra) setenv(name.c_str(), value.c_str(), 1);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(err, STDERR_FILENO) < 0) _exit(127);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ChildResult runChild(const std::string& program, const std::string& folder, const Environment& extra,
                     std::chrono::seconds limit) {
    const std::string outPath = folder + "/.child_stdout";
    const std::string errPath = folder + "/.child_stderr";
    ChildResult result;
    const pid_t child = fork();
    if (child == 0) becomeProgram(program, folder, extra, outPath, errPath);
    if (child < 0) return result;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!result.timedOut && WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (!result.timedOut && WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

bool reportsFault(const std::string& err) {
    for (const char* mark : {"Sanitizer", "runtime error:", "terminate called", "Segmentation fault"}) {
        if (err.find(mark) != std::string::npos) return true;
    }
    return false;
}
