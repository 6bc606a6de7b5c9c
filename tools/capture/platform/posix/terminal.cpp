// POSIX version of stderrIsTerminal.
#include <unistd.h>

#include "capture_platform.h"

bool stderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }
