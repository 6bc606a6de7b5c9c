// WebAssembly version of stderrIsTerminal: the wasm C library takes its
// standard streams for terminals whatever they are, so Node is asked.
#include <emscripten/emscripten.h>

#include "capture_platform.h"

namespace {

EM_JS(int, nodeStderrIsTerminal, (), { return process.stderr.isTTY ? 1 : 0; });

}  // namespace

bool stderrIsTerminal() { return nodeStderrIsTerminal() != 0; }
