// POSIX version of capture_platform.h.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "capture_platform.h"

const char kPathSeparators[] = "/";

void setUpCaptureProcess() { std::signal(SIGPIPE, SIG_IGN); }

bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

int createFolder(const char* path) { return ::mkdir(path, 0755); }

int openOutputFile(const char* path) { return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644); }

bool makeTemporaryFile(const char* suffix, std::string& path, std::string& error) {
    const char* tmp = std::getenv("TMPDIR");
    path = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/demo_capture_XXXXXX" + suffix;
    const int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    ::close(fd);
    return true;
}
