// A display back end for the driver's tests, scripted through the
// environment instead of showing anything:
//   DEMO_TEST_DISPLAY_FAIL=1     displayInit fails.
//   DEMO_TEST_ESCAPE_AT_MS=t     the first present whose frame read a music
//                                time of t or more acts as Escape: shutdown, exit 0.
//   DEMO_TEST_DISPLAY_LOG=path   appends "init <class> <width> <height>", and
//                                "shutdown after <n> presents" or, at a normal
//                                exit, "exit after <n> presents".
// Each present waits a few milliseconds, as a display waiting for its refresh does.
#include "display/display.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "music_reading.h"

int32_t lastMusicReading = 0;

namespace {

constexpr auto kPresentTime = std::chrono::milliseconds(8);

long presents = 0;
bool shutDown = false;

void writeLog(const char* line) {
    const char* path = std::getenv("DEMO_TEST_DISPLAY_LOG");
    if (path == nullptr) return;
    if (std::FILE* log = std::fopen(path, "a")) {
        std::fputs(line, log);
        std::fclose(log);
    }
}

void logPresents(const char* event) {
    char line[64];
    std::snprintf(line, sizeof line, "%s after %ld presents\n", event, presents);
    writeLog(line);
}

void logNormalExit() {
    if (!shutDown) logPresents("exit");
}

}  // namespace

int32_t displayInit(const char* className, int32_t width, int32_t height) {
    char line[128];
    std::snprintf(line, sizeof line, "init %s %d %d\n", className, static_cast<int>(width),
                  static_cast<int>(height));
    writeLog(line);
    const char* fail = std::getenv("DEMO_TEST_DISPLAY_FAIL");
    if (fail != nullptr && fail[0] == '1') return 0;
    std::atexit(logNormalExit);
    return 1;
}

const char* displayFailureReason() { return "the scripted display failed"; }

int32_t displayPresent(const uint32_t* /*pixels*/) {
    ++presents;
    std::this_thread::sleep_for(kPresentTime);
    const char* escapeAt = std::getenv("DEMO_TEST_ESCAPE_AT_MS");
    if (escapeAt != nullptr && lastMusicReading >= std::atol(escapeAt)) {
        displayShutdown();
        std::exit(0);
    }
    return 1;
}

void displayShutdown() {
    shutDown = true;
    logPresents("shutdown");
}
