#pragma once
// What the tests ask of the system beside starting programs.
#include <string>

// Makes a named pipe (FIFO) at path.
bool makeFifo(const std::string& path);

// Whether the test runs as root, which may read and write any file.
bool runningAsRoot();
