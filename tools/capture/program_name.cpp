#include "program_name.h"

#include <string>

#include "capture_platform.h"

namespace {

std::string& name() {
    static std::string started = "demo_capture";
    return started;
}

}  // namespace

void setProgramName(const char* argv0) {
    const std::string started = startedName(argv0 != nullptr ? argv0 : "");
    if (!started.empty()) name() = started;
}

const char* programName() { return name().c_str(); }
