// POSIX version of stop_signals.h. The handler only uses async-signal-safe calls.
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>

#include "stop_signals.h"

namespace {

// Every signal whose default action ends the process, but the faults of the
// program itself (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT),
// which stay crashes with their core dump. SIGPIPE and SIGXFSZ are ignored
// instead: they show as failed writes.
constexpr int kStopSignals[] = {
    SIGHUP,    SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};

sigset_t stopSet;  // the stop signals, real-time ones included; made once
char pendingPaths[kMaxPendingFiles][kMaxPendingPath];
volatile sig_atomic_t pendingUsed[kMaxPendingFiles];
char createdFolder[kMaxPendingPath];
volatile sig_atomic_t createdFolderUsed = 0;
volatile sig_atomic_t encoder = 0;

void makeStopSet() {
    sigemptyset(&stopSet);
    for (const int s : kStopSignals) sigaddset(&stopSet, s);
#if defined(SIGRTMIN) && defined(SIGRTMAX)
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) sigaddset(&stopSet, s);
#endif
}

void stopNow(int signalNumber) {
    const pid_t child = static_cast<pid_t>(encoder);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    for (int32_t slot = 0; slot < kMaxPendingFiles; ++slot) {
        if (pendingUsed[slot] != 0) unlink(pendingPaths[slot]);
    }
    if (createdFolderUsed != 0) rmdir(createdFolder);  // only when empty
    _exit(128 + signalNumber);
}

// Keeps the handler away while the registry changes.
class SignalsHeld {
public:
    SignalsHeld() { sigprocmask(SIG_BLOCK, &stopSet, &previous); }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

private:
    sigset_t previous;
};

}  // namespace

void installStopSignals() {
    makeStopSet();
    struct sigaction action {};
    action.sa_handler = stopNow;
    sigfillset(&action.sa_mask);  // one stop at a time
    for (int s = 1; s < NSIG; ++s) {
        if (sigismember(&stopSet, s) != 1) continue;
        // A signal ignored from the start (nohup) stays ignored.
        struct sigaction previous {};
        if (sigaction(s, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        sigaction(s, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

int32_t registerPendingFile(const char* path) {
    if (std::strlen(path) >= static_cast<size_t>(kMaxPendingPath)) return -1;
    SignalsHeld held;
    for (int32_t slot = 0; slot < kMaxPendingFiles; ++slot) {
        if (pendingUsed[slot] != 0) continue;
        std::strcpy(pendingPaths[slot], path);
        pendingUsed[slot] = 1;
        return slot;
    }
    return -1;
}

void forgetPendingFile(int32_t slot) {
    if (slot < 0 || slot >= kMaxPendingFiles) return;
    SignalsHeld held;
    pendingUsed[slot] = 0;
}

void registerCreatedFolder(const char* path) {
    if (std::strlen(path) >= static_cast<size_t>(kMaxPendingPath)) return;
    SignalsHeld held;
    std::strcpy(createdFolder, path);
    createdFolderUsed = 1;
}

void forgetCreatedFolder() {
    SignalsHeld held;
    createdFolderUsed = 0;
}

void registerEncoder(int64_t processId) {
    SignalsHeld held;
    encoder = static_cast<sig_atomic_t>(processId);
}

void forgetEncoder() {
    SignalsHeld held;
    encoder = 0;
}
