// POSIX version of startedName: the last part of the path the program was
// started by.
#include <cstring>

#include "capture_platform.h"

std::string startedName(const char* argv0) {
    const char* slash = std::strrchr(argv0, '/');
    return slash != nullptr ? slash + 1 : argv0;
}
