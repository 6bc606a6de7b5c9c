#pragma once
// Where the demo's messages go. On POSIX systems they go to standard output
// as it is, and a closed pipe there does not end the program
// (platform/posix/console.cpp). A Windows GUI program starts without a console: it
// writes into the console of the program that started it, if any, or into
// the file or pipe its output was redirected to (platform/windows/console.cpp).
void prepareConsole();
