#pragma once
// Ends the program at once with exit code 0, as Escape and closing the window
// do: no destructors, no exit handlers, nothing more of the driver runs. The
// sound library's threads end with the process.
[[noreturn]] void endProgramAtOnce();
