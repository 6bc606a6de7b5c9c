// WebAssembly version of file_system_type.h: the wasm C library answers
// statfs with made-up figures, so Node is asked about the real file system.
#include <emscripten/emscripten.h>

#include "file_system_type.h"

namespace {

// The type as an unsigned 32-bit number (a double holds it whole); -1 when
// the path cannot be asked about.
EM_JS(double, nodeFileSystemType, (const char* path), {
    try {
        return require('fs').statfsSync(UTF8ToString(path)).type >>> 0;
    } catch (error) {
        return -1;
    }
});

}  // namespace

bool fileSystemType(const std::string& path, uint32_t& type) {
    const double answer = nodeFileSystemType(path.c_str());
    if (answer < 0) return false;
    type = static_cast<uint32_t>(answer);
    return true;
}
