// WebAssembly version of outputFileMode: the C library of the wasm build
// keeps a umask of its own that starts at 0777, so the user's comes from
// Node, whose files the capture writes.
#include <emscripten/emscripten.h>

#include "output_paths.h"

namespace {

EM_JS(int, nodeUmask, (), { return process.umask(); });

}  // namespace

unsigned outputFileMode() { return 0666u & ~static_cast<unsigned>(nodeUmask()); }
