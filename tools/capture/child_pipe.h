#pragma once
// A program started with a pipe into its standard input, its output going
// where ours goes, its errors too or into a temporary file kept for us.
// Each platform folder has its version (platform/*/child_pipe.cpp).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Whether this platform can start programs at all: a WebAssembly build run
// under Node cannot.
bool canStartPrograms();

// The full name of an executable program found in the PATH folders, or an
// empty string. On Windows the name gets ".exe" and PATH is split at ';'.
std::string findOnPath(const char* program);

class ChildPipe {
public:
    ChildPipe();
    // Closes the pipe and waits for the program if it still runs.
    ~ChildPipe();
    ChildPipe(const ChildPipe&) = delete;
    ChildPipe& operator=(const ChildPipe&) = delete;

    // Starts program (a full name) with args; args[0] is the name it sees.
    // False with the system's reason in error. With keepErrors the program's
    // standard error goes to an unnamed temporary file (removed by the system
    // when closed, whatever ends us) that errors() reads back.
    bool start(const std::string& program, const std::vector<std::string>& args, std::string& error,
               bool keepErrors = false);
    // Writes all bytes; false with the reason once the program stopped reading.
    bool write(const void* data, size_t size, std::string& error);
    // Ends the program's input.
    void closeInput();

    struct Ending {
        bool exited = false;  // false: ended by a signal (POSIX only)
        int code = -1;        // the exit code, or the signal number
    };
    // Closes the input and waits for the program to end.
    Ending wait();

    bool running() const;
    // The process id while it runs (for the stop signals), else 0.
    int64_t processId() const;
    // All the program wrote on its standard error so far, when started with
    // keepErrors; read it once the program has ended.
    std::string errors() const;

private:
    struct State;
    std::unique_ptr<State> state;
};

// A Windows command line that hands each argument over unchanged to a
// program that splits its command line the way the C runtime does
// (quotes and backslashes escaped where needed).
std::string windowsCommandLine(const std::vector<std::string>& args);
