// Windows version of stop_signals.h. The console's control events take the
// place of the signals: Ctrl+C and Ctrl+Break end the capture with exit code
// 130 (as SIGINT would), closing the console with 129 (SIGHUP), logging off
// or shutting down with 143 (SIGTERM). The system calls the handler on a
// thread of its own while the capture goes on; the lock keeps the registry
// still, and the handler never gives it back because the process ends in it.
#include <windows.h>

#include <cstring>

#include "stop_signals.h"
#include "windows_text.h"

namespace {

SRWLOCK registry = SRWLOCK_INIT;
wchar_t pendingPaths[kMaxPendingFiles][kMaxPendingPath];
bool pendingUsed[kMaxPendingFiles];
wchar_t createdFolder[kMaxPendingPath];
bool createdFolderUsed = false;
HANDLE encoder = nullptr;  // our own handle on the encoder process

int exitCodeFor(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT: return 130;
        case CTRL_CLOSE_EVENT: return 129;
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT: return 143;
        default: return 0;
    }
}

BOOL WINAPI stopNow(DWORD event) {
    const int code = exitCodeFor(event);
    if (code == 0) return FALSE;
    AcquireSRWLockExclusive(&registry);
    if (encoder != nullptr) {
        TerminateProcess(encoder, static_cast<UINT>(code));
        // The encoder's output is removed below, once the encoder has let go of it.
        WaitForSingleObject(encoder, 5000);
    }
    // The files are opened with removal shared, so even a file being written
    // goes; it vanishes when the process ends.
    for (int32_t slot = 0; slot < kMaxPendingFiles; ++slot) {
        if (pendingUsed[slot]) DeleteFileW(pendingPaths[slot]);
    }
    if (createdFolderUsed) RemoveDirectoryW(createdFolder);  // only when empty
    restoreConsoleCodePage();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    return TRUE;
}

}  // namespace

void installStopSignals() {
    // A process started with Ctrl+C disabled (in a new process group) gets
    // no Ctrl+C event, as nohup keeps SIGINT away on POSIX; the other events
    // still come.
    SetConsoleCtrlHandler(stopNow, TRUE);
}

int32_t registerPendingFile(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= static_cast<size_t>(kMaxPendingPath)) return -1;
    AcquireSRWLockExclusive(&registry);
    int32_t found = -1;
    for (int32_t slot = 0; slot < kMaxPendingFiles && found < 0; ++slot) {
        if (pendingUsed[slot]) continue;
        const int wide = MultiByteToWideChar(CP_ACP, 0, path, static_cast<int>(length) + 1,
                                             pendingPaths[slot], kMaxPendingPath);
        if (wide <= 0) break;
        pendingUsed[slot] = true;
        found = slot;
    }
    ReleaseSRWLockExclusive(&registry);
    return found;
}

void forgetPendingFile(int32_t slot) {
    if (slot < 0 || slot >= kMaxPendingFiles) return;
    AcquireSRWLockExclusive(&registry);
    pendingUsed[slot] = false;
    ReleaseSRWLockExclusive(&registry);
}

void registerCreatedFolder(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= static_cast<size_t>(kMaxPendingPath)) return;
    AcquireSRWLockExclusive(&registry);
    createdFolderUsed = MultiByteToWideChar(CP_ACP, 0, path, static_cast<int>(length) + 1, createdFolder,
                                            kMaxPendingPath) > 0;
    ReleaseSRWLockExclusive(&registry);
}

void forgetCreatedFolder() {
    AcquireSRWLockExclusive(&registry);
    createdFolderUsed = false;
    ReleaseSRWLockExclusive(&registry);
}

void registerEncoder(int64_t processId) {
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
    AcquireSRWLockExclusive(&registry);
    if (encoder != nullptr) CloseHandle(encoder);
    encoder = process;
    ReleaseSRWLockExclusive(&registry);
}

void forgetEncoder() {
    AcquireSRWLockExclusive(&registry);
    if (encoder != nullptr) CloseHandle(encoder);
    encoder = nullptr;
    ReleaseSRWLockExclusive(&registry);
}
