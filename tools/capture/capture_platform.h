#pragma once
// The capture's few services of the operating system beside the encoder's
// process; each platform folder has its version (platform/*/capture_platform.cpp
// terminal.cpp and started_name.cpp).
#include <cstdio>
#include <string>

// The characters that end a folder's name in a path: '/' only on POSIX
// systems, '/' and '\\' on Windows.
extern const char kPathSeparators[];

// Called first in main: a write to an encoder that has gone must show as a
// failed write instead of ending the process, and the standard streams
// carry their bytes unchanged.
void setUpCaptureProcess();

// Whether standard error is a terminal (a console on Windows).
bool stderrIsTerminal();

// The width of standard error's terminal in columns; 0 when it cannot be told.
int terminalColumns();

// The program's name as started, from its first argument (see program_name.h).
std::string startedName(const char* argv0);

// Makes a folder. 0 on success, else -1 with the reason in errno (EEXIST
// when it exists already).
int createFolder(const char* path);

// Opens a file to be written through the C library's buffered output
// (created or emptied), like fopen(path, "wb"). On Windows the file may be
// removed while open, so that a stop can remove a file in the making.
std::FILE* openOutputStream(const char* path);
