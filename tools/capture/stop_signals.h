#pragma once
// Ending a capture by SIGINT, SIGTERM or SIGHUP: the encoder is stopped, every
// file still being written is removed, and the process exits with 128 plus
// the signal number. The files and the encoder are registered while they are
// in the making. The POSIX version is in stop_signals_posix.cpp; the Windows
// version (console control events in place of signals) in stop_signals_windows.cpp.
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

// The running encoder process, killed and waited for when a stop signal comes.
void registerEncoder(int64_t processId);
void forgetEncoder();
