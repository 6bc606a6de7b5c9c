// POSIX version of capture_platform.h.
#include <sys/stat.h>
#include <csignal>

#include "capture_platform.h"

const char kPathSeparators[] = "/";

void setUpCaptureProcess() { std::signal(SIGPIPE, SIG_IGN); }

int createFolder(const char* path) { return ::mkdir(path, 0755); }

std::FILE* openOutputStream(const char* path) { return std::fopen(path, "wb"); }
