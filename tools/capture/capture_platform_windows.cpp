// Windows version of capture_platform.h.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "capture_platform.h"

const char kPathSeparators[] = "/\\";

// Windows has no SIGPIPE: a write into a closed pipe fails by itself. The C
// runtime's text mode would turn every '\n' written into "\r\n".
void setUpCaptureProcess() {
    _setmode(_fileno(stdin), _O_BINARY);  // text mode would also end the input at a byte 0x1a
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

int createFolder(const char* path) { return _mkdir(path); }

int openOutputFile(const char* path) {
    return _open(path, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

bool makeTemporaryFile(const char* suffix, std::string& path, std::string& error) {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH) {
        error = "no folder for temporary files";
        return false;
    }
    // Names from the process id and a counter; _O_EXCL makes sure the file is new.
    static unsigned counter = 0;
    const unsigned long seed = GetCurrentProcessId() ^ GetTickCount();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "demo_capture_%08lx_%u", seed, counter++);
        path = std::string(folder) + name + suffix;
        const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            _close(fd);
            return true;
        }
        if (errno != EEXIST) break;
    }
    error = std::strerror(errno);
    return false;
}
