// Windows version of capture_platform.h.
#include <windows.h>

#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "capture_platform.h"
#include "windows_text.h"

const char kPathSeparators[] = "/\\";

namespace {

UINT consoleCodePageBefore = 0;  // 0: the console's code page was not changed

}  // namespace

void restoreConsoleCodePage() {
    if (consoleCodePageBefore != 0) SetConsoleOutputCP(consoleCodePageBefore);
}

// Windows has no SIGPIPE: a write into a closed pipe fails by itself. The C
// runtime's text mode would turn every '\n' written into "\r\n".
//
// File names come in the ANSI code page, as the program's arguments do, and
// the messages carry them so. A console shows bytes in its own output code
// page (the OEM one, unless changed), where a name such as "ä" would come out
// as another letter; while the capture runs the console takes the ANSI code
// page, and gets its own back when the capture ends, stopped or not.
void setUpCaptureProcess() {
    _setmode(_fileno(stdin), _O_BINARY);  // text mode would also end the input at a byte 0x1a
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (!stderrIsTerminal()) return;
    const UINT before = GetConsoleOutputCP();
    if (before == 0 || before == GetACP() || !SetConsoleOutputCP(GetACP())) return;
    consoleCodePageBefore = before;
    std::atexit(restoreConsoleCodePage);
}

bool stderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

int terminalColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

int createFolder(const char* path) { return _mkdir(path); }

// The file is opened with every sharing mode, removal included: a stop
// removes the files in the making while they are still open.
namespace {

HANDLE createOutput(const char* path) {
    const std::wstring name = widePath(path);
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) errno = errnoFromSystem(GetLastError());
    return file;
}

int openOutputFile(const char* path) {
    const HANDLE file = createOutput(path);
    if (file == INVALID_HANDLE_VALUE) return -1;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) CloseHandle(file);
    return fd;
}

}  // namespace

std::FILE* openOutputStream(const char* path) {
    const int fd = openOutputFile(path);
    if (fd < 0) return nullptr;
    std::FILE* stream = _fdopen(fd, "wb");
    if (stream == nullptr) _close(fd);
    return stream;
}
