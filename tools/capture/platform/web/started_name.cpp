// WebAssembly version of startedName: under Node the program's first
// argument is a made-up name, so the capture is named by its script file
// (demo_capture.js), the name it was started by after "node".
#include <emscripten/emscripten.h>

#include <string>

#include "capture_platform.h"

namespace {

// Copies the script's file name into the buffer (at most size - 1 bytes of
// UTF-8) and gives its length; 0 when unknown.
EM_JS(int, nodeScriptName, (char* buffer, int size), {
    if (typeof __filename != 'string') return 0;
    const bytes = new TextEncoder().encode(require('path').basename(__filename));
    if (bytes.length >= size) return 0;
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});

}  // namespace

std::string startedName(const char*) {
    char name[256];
    const int length = nodeScriptName(name, static_cast<int>(sizeof name));
    return std::string(name, static_cast<size_t>(length));
}
