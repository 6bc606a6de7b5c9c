#include <atomic>
#include <filesystem>
#include <system_error>

#include "support/process.h"
#include "support/system.h"

std::string makeFreshFolder(const std::string& base, const std::string& stem) {
    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string name =
            base + "/" + stem + "_" + std::to_string(currentProcessId()) + "_" + std::to_string(counter++);
        std::error_code error;
        if (std::filesystem::create_directory(name, error)) return name;
    }
    return "";
}
