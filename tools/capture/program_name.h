#pragma once
// The name the capture calls itself by in its messages and its usage text:
// the name it was started by (qzt-dmbl-capture when installed), so that the
// text says what to type. demo_capture until main sets it.

// Sets the name from the program's first argument (platform/*/started_name.cpp).
void setProgramName(const char* argv0);

const char* programName();
