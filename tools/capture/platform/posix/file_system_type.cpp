// POSIX version of file_system_type.h.
#include <sys/vfs.h>

#include "file_system_type.h"

// The magic numbers are 32 bits; f_type's width and sign differ between
// targets (a 32-bit long cannot hold the larger ones).
bool fileSystemType(const std::string& path, uint32_t& type) {
    struct statfs info {};
    if (statfs(path.c_str(), &info) != 0) return false;
    type = static_cast<uint32_t>(info.f_type);
    return true;
}
