#pragma once
// Starting the demo programs on a test's X server, and what they print.
#include <memory>
#include <string>

#include "scene/scroll_message.h"
#include "x_session.h"

inline std::unique_ptr<ChildProcess> startDemo(const std::string& program, const std::string& display) {
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"./" + program},
        std::vector<std::string>{"DISPLAY=" + display, "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER=dummy"});
}

inline std::string startTranscript() {
    return "Demo-Engine by Vak\n\n loading data ...\n\n loading sound ...\n\n init DirextX ...\n";
}

inline std::string runningTranscript() { return startTranscript() + "\n Go..............\n"; }

inline std::string fullTranscript() {
    return runningTranscript() + " finish...\n\n" + kCodeCreditLine + "Graphic: Vak\n" + kSoundCreditLine;
}
