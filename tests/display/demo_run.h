#pragma once
// Starting the demo programs on a test's X server.
#include <memory>
#include <string>

#include "support/transcript.h"
#include "x_session.h"

inline std::unique_ptr<StartedProgram> startDemo(const std::string& program, const std::string& display) {
    return std::make_unique<StartedProgram>(
        std::vector<std::string>{"./" + program},
        Environment{{"DISPLAY", display}, {"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}});
}
