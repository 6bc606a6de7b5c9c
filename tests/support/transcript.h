#pragma once
// What the demo programs write on standard output, line by line.
#include <string>

#include "scene/scroll_message.h"

namespace transcript {
inline constexpr const char kStart[] = "Demo-Engine by Vak\n\n loading data ...\n";
inline constexpr const char kLoadingSound[] = "\n loading sound ...\n";
inline constexpr const char kInitDisplay[] = "\n init DirextX ...\n";
inline constexpr const char kDisplayFailed[] = "\n DirectX Suxxs !!!\n";
inline constexpr const char kGo[] = "\n Go..............\n";

// Start-up up to the display when every file loads.
inline std::string upToDisplay() { return std::string(kStart) + kLoadingSound + kInitDisplay; }
inline std::string upToGo() { return upToDisplay() + kGo; }
// " finish...", the credits and the closing words.
inline std::string credits() {
    return std::string(" finish...\n\n") + kCodeCreditLine + "Graphic: Vak\n" + kSoundCreditLine;
}
inline std::string fullRun() { return upToGo() + credits(); }
}  // namespace transcript
