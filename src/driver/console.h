#pragma once
// Where the demo's messages go. On POSIX systems nothing is to be done
// (platform/posix/console.cpp). A Windows GUI program starts without a console: it
// writes into the console of the program that started it, if any, or into
// the file or pipe its output was redirected to (platform/windows/console.cpp).
void prepareConsole();
