#include "driver/console.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <cstdio>

namespace {

bool hasHandle(DWORD which) {
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

}  // namespace

void prepareConsole() {
    // Output redirected by the caller comes as inherited handles and needs
    // nothing. Otherwise, started from a console window, write into that one.
    const bool out = hasHandle(STD_OUTPUT_HANDLE);
    const bool err = hasHandle(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) std::freopen("CONOUT$", "w", stdout);
        if (!err) std::freopen("CONOUT$", "w", stderr);
    }
    // The same bytes as on other systems: no "\r" added before each "\n"
    // (a console starts a new line at "\n" alone).
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
