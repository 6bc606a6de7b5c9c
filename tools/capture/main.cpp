// demo_capture: renders the demo offline at a fixed frame rate into frame
// files, a soundtrack and a video, exactly as the driver composes it.
#include <cstdio>
#include <string>

#include "capture_options.h"
#include "capture_platform.h"
#include "capture_session.h"
#include "driver/data_folder.h"
#include "stop_signals.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadArguments = 2;

int badArguments(const std::string& error) {
    std::fprintf(stderr, "demo_capture: %s\n%s", error.c_str(), kCaptureUsage);
    return kExitBadArguments;
}

}  // namespace

int main(int argc, char** argv) {
    setUpCaptureProcess();
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc, argv, options, error)) return badArguments(error);
    if (options.showHelp) {
        std::fputs(kCaptureUsage, stdout);
        return 0;
    }
    if (options.showVersion) {
        std::puts(DEMO_VERSION);
        return 0;
    }
    // A stop signal (on Windows, Ctrl+C or closing the console) removes the
    // unfinished outputs, from the trial files of the checks on; a vanished
    // encoder or a file size limit shows as a write error.
    installStopSignals();
    options.dataFolder = findDataFolder();
    if (!checkCaptureOutputs(options, error)) return badArguments(error);
    CaptureSession session(options, stderrIsTerminal());
    if (!session.prepare() || !session.run()) {
        std::fprintf(stderr, "demo_capture: %s\n", session.error().c_str());
        return kExitFailure;
    }
    return 0;
}
