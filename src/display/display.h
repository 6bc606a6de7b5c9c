#pragma once
// The display back end, one per program. Returns nonzero for success.
#include <cstdint>

// Opens the display for frames of width x height; className names the window.
int32_t displayInit(const char* className, int32_t width, int32_t height);
// Handles pending window events, then shows one frame of 0x00RRGGBB pixels.
// Escape or closing the window calls displayShutdown and ends the process with 0.
int32_t displayPresent(const uint32_t* pixels);
void displayShutdown();
// Why the last displayInit failed, as one line without a line break: the
// reason SDL gave, or that no display was found.
const char* displayFailureReason();
