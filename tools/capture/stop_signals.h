#pragma once
// Ending a capture by a signal whose default action ends the process (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT, SIGUSR1 and the like, not the program's own
// faults): the encoder is stopped, every file still being written is
// removed, a frames folder the run made is removed when it is empty, and the
// process exits with 128 plus the signal number. The files, the folder and
// the encoder are registered while they are in the making. Each platform
// folder has its version (on Windows, console control events stand for the
// signals).
#include <cstdint>

inline constexpr int32_t kMaxPendingFiles = 4;
inline constexpr int32_t kMaxPendingPath = 4096;

// Installs the handlers (not for a signal ignored from the start, as under
// nohup); also makes a broken pipe or an exceeded file size
// limit show as a failed write instead of ending the process.
void installStopSignals();

// Registers a file to remove when a stop signal comes; returns its slot, or
// -1 when the path is too long or all slots are taken. Allocates nothing.
int32_t registerPendingFile(const char* path);
void forgetPendingFile(int32_t slot);

// The frames folder this run made: removed at a stop when nothing is in it.
void registerCreatedFolder(const char* path);
void forgetCreatedFolder();

// The running encoder process, killed and waited for when a stop signal comes.
void registerEncoder(int64_t processId);
void forgetEncoder();
