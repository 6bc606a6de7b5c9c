// WebAssembly version of holdFolder: the wasm C library's file handles are
// its own, unknown to the system, so Node opens the folder itself; on Linux
// the folder is then reachable as /proc/self/fd/N of Node's handle, which
// the capture's paths reach through Node's file system. The host of
// node_host.js learns the handle, for a stop to find the files in it.
#include <emscripten/emscripten.h>

#include "output_paths.h"

namespace {

// The held folder's name into the buffer (at most size - 1 bytes); gives
// its length, 0 when the folder cannot be held so.
EM_JS(int, nodeHoldFolder, (const char* dir, char* buffer, int size), {
    const fs = require('fs');
    let fd = -1;
    try {
        fd = fs.openSync(UTF8ToString(dir), 'r');
        const held = '/proc/self/fd/' + fd;
        const opened = fs.fstatSync(fd);
        const reached = fs.statSync(held);
        const bytes = new TextEncoder().encode(held);
        if (opened.isDirectory() && opened.dev == reached.dev && opened.ino == reached.ino &&
            bytes.length < size) {
            HEAPU8.set(bytes, buffer);
            if (demoCaptureHost != null) demoCaptureHost.holdFolder(fd);
            return bytes.length;
        }
    } catch (error) {
        // not Linux, or the folder cannot be opened: its name serves
    }
    if (fd >= 0) fs.closeSync(fd);
    return 0;
});

}  // namespace

std::string holdFolder(const std::string& dir) {
    char held[64];
    const int length = nodeHoldFolder(dir.c_str(), held, static_cast<int>(sizeof held));
    return length > 0 ? std::string(held, static_cast<size_t>(length)) : dir;
}
