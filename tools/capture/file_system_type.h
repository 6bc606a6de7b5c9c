#pragma once
// The type of the file system a path lies on, as statfs gives it (its magic
// number), for telling the kernel's own file systems from ordinary ones. Only
// for POSIX systems: platform/posix and platform/web have a version.
#include <cstdint>
#include <string>

// False when the path cannot be asked about.
bool fileSystemType(const std::string& path, uint32_t& type);
