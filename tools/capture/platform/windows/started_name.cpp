// Windows version of startedName: the last part of the path the program was
// started by, without the ".exe" that nobody types.
#include <cctype>

#include "capture_platform.h"

std::string startedName(const char* argv0) {
    std::string name = argv0;
    const size_t cut = name.find_last_of("/\\:");
    if (cut != std::string::npos) name.erase(0, cut + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.size() - dot == 4) {
        std::string extension = name.substr(dot);
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension == ".exe") name.erase(dot);
    }
    return name;
}
