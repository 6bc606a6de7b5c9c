// The demo programs' console: output into a pipe whose reader has gone
// (`demo_windowed | head -c1`) fails and is lost, and the program goes on
// instead of being ended by SIGPIPE.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "driver/console.h"

TEST(Console, OutputIntoAPipeWithoutReaderFailsInsteadOfEndingTheProgram) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    prepareConsole();
    errno = 0;
    EXPECT_EQ(write(ends[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    close(ends[1]);
    std::signal(SIGPIPE, SIG_DFL);
}
