#include <windows.h>

#include "driver/data_folder.h"

// In the system's code page, as the data files are opened (fopen); a folder
// whose name that code page cannot spell is not used.
std::string executableFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    const std::string file(path, length);
    if (file.find('?') != std::string::npos) return "";
    const size_t separator = file.find_last_of("\\/");
    return separator == std::string::npos ? "" : file.substr(0, separator + 1);
}
