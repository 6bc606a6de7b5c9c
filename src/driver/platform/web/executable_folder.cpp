#include <emscripten/emscripten.h>

#include "driver/data_folder.h"

namespace {

// Under Node (the capture) the running program is Node itself: the folder
// that counts is that of the script file, copied into the buffer with a
// separator at the end (at most size - 1 bytes of UTF-8); gives its length.
// In the browser there is none: 0.
EM_JS(int, scriptFolder, (char* buffer, int size), {
    if (typeof __dirname != 'string' || typeof require != 'function') return 0;
    const bytes = new TextEncoder().encode(require('path').resolve(__dirname) + '/');
    if (bytes.length >= size) return 0;
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});

}  // namespace

// In the browser the data files are in the working folder of the page's file
// system.
std::string executableFolder() {
    char folder[4096];
    const int length = scriptFolder(folder, static_cast<int>(sizeof folder));
    return std::string(folder, static_cast<size_t>(length));
}
