#include <filesystem>
#include <system_error>

#include "output_paths.h"

namespace fs = std::filesystem;

// Follows the links one by one, each relative to the folder it lies in;
// gives up after as many as the system itself follows.
std::string outputTarget(const std::string& path) {
    constexpr int kMaxLinks = 40;
    fs::path target = path;
    for (int link = 0; link < kMaxLinks; ++link) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) return target.string();
        const fs::path next = fs::read_symlink(target, error);
        if (error) return target.string();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}
