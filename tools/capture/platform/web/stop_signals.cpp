// WebAssembly version of stop_signals.h. Under Node the capture runs in a
// worker thread and Node's main thread answers the stop signals
// (node_host.js): the files in the making and the frames folder the run made
// are noted where that thread finds them. The wasm build starts no encoder.
#include <emscripten/emscripten.h>

#include <cstring>

#include "stop_signals.h"

namespace {

EM_JS(int, hostNote, (int slot, const char* path),
      { return demoCaptureHost != null && demoCaptureHost.note(slot, UTF8ToString(path)) ? 1 : 0; });

EM_JS(void, hostForget, (int slot), {
    if (demoCaptureHost != null) demoCaptureHost.forget(slot);
});

EM_JS(int, hostFolderSlot, (), { return demoCaptureHost != null ? demoCaptureHost.folderSlot : -1; });

bool pendingUsed[kMaxPendingFiles];

}  // namespace

// The handlers are the host's, set up before the capture starts.
void installStopSignals() {}

int32_t registerPendingFile(const char* path) {
    if (std::strlen(path) >= static_cast<size_t>(kMaxPendingPath)) return -1;
    for (int32_t slot = 0; slot < kMaxPendingFiles; ++slot) {
        if (pendingUsed[slot]) continue;
        if (hostNote(slot, path) == 0) return -1;
        pendingUsed[slot] = true;
        return slot;
    }
    return -1;
}

void forgetPendingFile(int32_t slot) {
    if (slot < 0 || slot >= kMaxPendingFiles) return;
    hostForget(slot);
    pendingUsed[slot] = false;
}

void registerCreatedFolder(const char* path) {
    const int slot = hostFolderSlot();
    if (slot >= 0) hostNote(slot, path);
}

void forgetCreatedFolder() {
    const int slot = hostFolderSlot();
    if (slot >= 0) hostForget(slot);
}

void registerEncoder(int64_t) {}

void forgetEncoder() {}
