#pragma once
// What the tests ask of the system beside starting programs.
#include <string>

// Makes a new folder base/stem_PID_N with a name no other folder has;
// empty when none can be made.
std::string makeFreshFolder(const std::string& base, const std::string& stem);

// Makes a named pipe (FIFO) at path.
bool makeFifo(const std::string& path);

// Whether the test runs as root, which may read and write any file.
bool runningAsRoot();
