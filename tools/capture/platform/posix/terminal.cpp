// POSIX versions of stderrIsTerminal and terminalColumns.
#include <sys/ioctl.h>
#include <unistd.h>

#include "capture_platform.h"

bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

int terminalColumns() {
    struct winsize size {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}
