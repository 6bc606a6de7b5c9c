#include "support/system.h"

#include <sys/stat.h>
#include <unistd.h>

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }

bool runningAsRoot() { return geteuid() == 0; }
