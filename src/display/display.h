#pragma once
// The display back end, one per program. Returns nonzero for success.
#include <cstdint>

// What displayPresent answers when the viewer pressed Escape or closed the
// window: the display is shut down by then and the frame was not shown. The
// driver ends the program with exit code 0 on it.
inline constexpr int32_t kDisplayQuit = -1;

// Opens the display for frames of width x height; className names the window.
int32_t displayInit(const char* className, int32_t width, int32_t height);
// Handles pending window events, then shows one frame of 0x00RRGGBB pixels:
// 1 when it was shown or skipped, 0 when it was lost, kDisplayQuit when an
// event asked to quit (displayShutdown has run then).
int32_t displayPresent(const uint32_t* pixels);
void displayShutdown();
// Why the last displayInit failed, as one line without a line break: the
// reason SDL gave, or that no display was found.
const char* displayFailureReason();
