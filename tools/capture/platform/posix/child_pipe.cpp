// POSIX version of child_pipe.h.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "child_pipe.h"

extern char** environ;

struct ChildPipe::State {
    pid_t child = -1;
    int input = -1;
    std::FILE* errors = nullptr;  // the program's standard error, when kept

    ~State() {
        if (errors != nullptr) std::fclose(errors);
    }
};

bool canStartPrograms() { return true; }

std::string findOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return "";
    const std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return "";
}

ChildPipe::ChildPipe() = default;

ChildPipe::~ChildPipe() {
    if (running()) wait();
}

bool ChildPipe::running() const { return state != nullptr && state->child > 0; }

int64_t ChildPipe::processId() const { return running() ? state->child : 0; }

bool ChildPipe::start(const std::string& program, const std::vector<std::string>& args, std::string& error,
                      bool keepErrors) {
    if (running()) wait();
    state = std::make_unique<State>();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    if (keepErrors) state->errors = std::tmpfile();
    if (state->errors != nullptr)
        posix_spawn_file_actions_adddup2(&actions, fileno(state->errors), STDERR_FILENO);
    std::vector<std::string> argCopies = args;
    std::vector<char*> argv;
    for (std::string& arg : argCopies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    const int result = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    state->input = fds[1];
    if (result != 0) {
        closeInput();
        error = std::strerror(result);
        return false;
    }
    state->child = child;
    return true;
}

bool ChildPipe::write(const void* data, size_t size, std::string& error) {
    if (state == nullptr || state->input < 0) {
        error = std::strerror(EPIPE);
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(state->input, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = std::strerror(n < 0 ? errno : EPIPE);
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void ChildPipe::closeInput() {
    if (state != nullptr && state->input >= 0) ::close(state->input);
    if (state != nullptr) state->input = -1;
}

ChildPipe::Ending ChildPipe::wait() {
    closeInput();
    Ending ending;
    if (!running()) return ending;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(state->child, &status, 0);
    } while (result < 0 && errno == EINTR);
    state->child = -1;
    if (result < 0) return ending;  // not ours to wait for: no exit code to report
    ending.exited = WIFEXITED(status);
    ending.code = ending.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return ending;
}

std::string ChildPipe::errors() const {
    std::string text;
    if (state == nullptr || state->errors == nullptr) return text;
    std::rewind(state->errors);
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, state->errors)) > 0) text.append(chunk, n);
    return text;
}
