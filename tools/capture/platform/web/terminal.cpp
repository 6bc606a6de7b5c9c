// WebAssembly versions of stderrIsTerminal and terminalColumns: the wasm C
// library takes its standard streams for terminals whatever they are, so
// Node is asked, through the host of node_host.js when the capture runs in
// its worker thread.
#include <emscripten/emscripten.h>

#include "capture_platform.h"

namespace {

EM_JS(int, nodeStderrIsTerminal, (), {
    if (demoCaptureHost != null) return demoCaptureHost.stderrIsTerminal ? 1 : 0;
    return process.stderr.isTTY ? 1 : 0;
});

EM_JS(int, nodeTerminalColumns, (), {
    if (demoCaptureHost != null) return demoCaptureHost.columns();
    return process.stderr.isTTY ? process.stderr.columns || 0 : 0;
});

}  // namespace

bool stderrIsTerminal() { return nodeStderrIsTerminal() != 0; }

int terminalColumns() { return nodeTerminalColumns(); }
