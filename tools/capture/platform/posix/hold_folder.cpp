// POSIX version of holdFolder: on Linux an open folder is reachable as
// /proc/self/fd/N, whatever it is renamed to; that name is only used when it
// reaches the very folder opened.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output_paths.h"

std::string holdFolder(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return dir;
    const std::string held = "/proc/self/fd/" + std::to_string(fd);
    struct stat opened {};
    struct stat reached {};
    if (fstat(fd, &opened) == 0 && stat(held.c_str(), &reached) == 0 && opened.st_dev == reached.st_dev &&
        opened.st_ino == reached.st_ino) {
        return held;
    }
    ::close(fd);
    return dir;
}
