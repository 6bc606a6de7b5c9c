// POSIX version of capture_platform.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

#include "capture_platform.h"

const char kPathSeparators[] = "/";

void setUpCaptureProcess() { std::signal(SIGPIPE, SIG_IGN); }

bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

int createFolder(const char* path) { return ::mkdir(path, 0755); }

std::FILE* openOutputStream(const char* path) { return std::fopen(path, "wb"); }
