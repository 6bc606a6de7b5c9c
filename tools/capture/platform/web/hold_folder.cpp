// WebAssembly version of holdFolder: the wasm C library's file handles are
// its own, unknown to the system's /proc, so files are made by the folder's
// name.
#include "output_paths.h"

std::string holdFolder(const std::string& dir) { return dir; }
