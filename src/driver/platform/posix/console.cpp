#include "driver/console.h"

#include <csignal>

void prepareConsole() {
    // Output into a pipe whose reader has gone (`demo_windowed | head -c1`)
    // must not end the show: with SIGPIPE ignored the write fails instead,
    // the output stream drops the rest of the messages, and the show goes on.
    std::signal(SIGPIPE, SIG_IGN);
}
