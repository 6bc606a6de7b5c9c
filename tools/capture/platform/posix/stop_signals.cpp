// POSIX version of stop_signals.h. The handler only uses async-signal-safe calls.
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>

#include "stop_signals.h"

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

char pendingPaths[kMaxPendingFiles][kMaxPendingPath];
volatile sig_atomic_t pendingUsed[kMaxPendingFiles];
volatile sig_atomic_t encoder = 0;

void stopNow(int signalNumber) {
    const pid_t child = static_cast<pid_t>(encoder);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    for (int32_t slot = 0; slot < kMaxPendingFiles; ++slot) {
        if (pendingUsed[slot] != 0) unlink(pendingPaths[slot]);
    }
    _exit(128 + signalNumber);
}

// Keeps the handler away while the registry changes.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t stops;
        sigemptyset(&stops);
        for (const int s : kStopSignals) sigaddset(&stops, s);
        sigprocmask(SIG_BLOCK, &stops, &previous);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

private:
    sigset_t previous;
};

}  // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = stopNow;
    sigfillset(&action.sa_mask);  // one stop at a time
    for (const int s : kStopSignals) {
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

void registerEncoder(int64_t processId) {
    SignalsHeld held;
    encoder = static_cast<sig_atomic_t>(processId);
}

void forgetEncoder() {
    SignalsHeld held;
    encoder = 0;
}
