#include "sound/module_loader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sound/xm_extent.h"

namespace {

// The loader itself does not notice missing bytes.
void reportShortModule(const char* notePrefix, const char* path, const ModuleBytes& bytes) {
    char line[512];
    describeShortModule(path, measureXmExtent(bytes.data(), bytes.size()), bytes.size(), line, sizeof line);
    if (line[0] != '\0') std::fprintf(stderr, "%s%s\n", notePrefix, line);
}

std::string readFailure(ModuleFileError error) {
    if (error == ModuleFileError::CannotOpen || error == ModuleFileError::ReadFailed)
        return std::strerror(errno);
    return describeModuleFileError(error);
}

}  // namespace

bool loadModuleFile(const char* path, ModuleRenderer& renderer, const char* notePrefix,
                    ModuleLoadFailure& failure) {
    failure = ModuleLoadFailure{};
    ModuleBytes bytes;
    if (!bytes.read(path)) {
        failure.file = bytes.error();
        failure.reason = readFailure(failure.file);
        return false;
    }
    reportShortModule(notePrefix, path, bytes);
    if (!renderer.load(bytes.data(), bytes.size())) {
        failure.format = renderer.error();
        failure.reason = renderer.errorText();
        return false;
    }
    return true;
}
