#pragma once
// The last music reading the driver took, kept by the logging sound library
// and read by the scripted display (both stand-ins of the driver's tests).
#include <cstdint>

extern int32_t lastMusicReading;
