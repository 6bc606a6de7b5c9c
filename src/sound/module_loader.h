#pragma once
// The one way a music module gets from its file into a renderer, for the
// sound library's songs and the capture's soundtrack alike.
#include <string>

#include "sound/module_file.h"
#include "sound/module_renderer.h"

struct ModuleLoadFailure {
    ModuleFileError file = ModuleFileError::None;    // the file could not be read
    ModuleLoadError format = ModuleLoadError::None;  // or its bytes are no module
    std::string reason;                              // why, in the system's or libopenmpt's words
};

// Reads the file and opens it in renderer. A module shorter than its headers
// declare is named on standard error, after notePrefix, and loaded all the
// same: it plays silence where bytes are missing, as in any player. False,
// with failure filled in, when the file cannot be read or opened.
bool loadModuleFile(const char* path, ModuleRenderer& renderer, const char* notePrefix,
                    ModuleLoadFailure& failure);
