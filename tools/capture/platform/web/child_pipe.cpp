// WebAssembly version of child_pipe.h: a program compiled to wasm and run
// under Node cannot start other programs, so there is none to find or start.
#include "child_pipe.h"

struct ChildPipe::State {};

bool canStartPrograms() { return false; }

std::string findOnPath(const char*) { return ""; }

ChildPipe::ChildPipe() = default;
ChildPipe::~ChildPipe() = default;

bool ChildPipe::running() const { return false; }
int64_t ChildPipe::processId() const { return 0; }

bool ChildPipe::start(const std::string&, const std::vector<std::string>&, std::string& error, bool) {
    error = "this build cannot start programs";
    return false;
}

bool ChildPipe::write(const void*, size_t, std::string& error) {
    error = "no program was started";
    return false;
}

void ChildPipe::closeInput() {}

ChildPipe::Ending ChildPipe::wait() { return {}; }

std::string ChildPipe::errors() const { return ""; }
