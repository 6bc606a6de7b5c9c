#pragma once
// Starting the back-end probe on a test's X server.
#include <memory>
#include <string>

#include "x_session.h"

constexpr int kStartTimeoutMs = 15000;
constexpr int kExitTimeoutMs = 5000;

inline std::unique_ptr<StartedProgram> startProbe(const XSession& session, const std::string& backend,
                                                  const std::string& pattern) {
    return std::make_unique<StartedProgram>(
        std::vector<std::string>{"./display_probe_" + backend, pattern, "60"},
        Environment{{"DISPLAY", session.display()}, {"SDL_VIDEODRIVER", ""}});
}
