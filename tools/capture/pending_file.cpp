#include "pending_file.h"

#include "output_paths.h"
#include "stop_signals.h"

void PendingFile::watch() {
    open = true;
    slot = registerPendingFile(temporary.c_str());
}

bool PendingFile::begin(const std::string& finalPath, std::string& error) {
    discard();
    target = outputTarget(finalPath);
    if (!makeTemporaryBeside(target, temporary, error)) return false;
    watch();
    return true;
}

bool PendingFile::beginTemporary(const char* suffix, std::string& error) {
    discard();
    target.clear();
    if (!makeTemporaryFile(suffix, temporary, error)) return false;
    watch();
    return true;
}

bool PendingFile::complete(std::string& error) {
    if (!open || target.empty()) return false;
    if (!moveIntoPlace(temporary.c_str(), target.c_str(), error)) {
        discard();
        return false;
    }
    forgetPendingFile(slot);
    slot = -1;
    open = false;
    return true;
}

void PendingFile::discard() {
    if (!open) return;
    removeFile(temporary.c_str());
    forgetPendingFile(slot);
    slot = -1;
    open = false;
}
