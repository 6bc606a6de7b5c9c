// demo_capture: renders the demo offline at a fixed frame rate into frame
// files, a soundtrack and a video, exactly as the driver composes it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "capture_options.h"
#include "capture_platform.h"
#include "capture_session.h"
#include "driver/data_folder.h"
#include "program_name.h"
#include "stop_signals.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadArguments = 2;

int badArguments(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n%s", programName(), error.c_str(), captureUsage(programName()).c_str());
    return kExitBadArguments;
}

// An output that cannot be written: the message says why; the usage would
// only hide it.
int badOutputs(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n", programName(), error.c_str());
    return kExitBadArguments;
}

// The help text is output like any other: lost on the way, it is a failure.
int showHelp() {
    const std::string usage = captureUsage(programName());
    if (std::fputs(usage.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "%s: cannot write the help text: %s\n", programName(), std::strerror(errno));
    return kExitFailure;
}

// The version, from the file VERSION; a lost one is a failure too.
int showVersion() {
    if (std::puts(DEMO_VERSION) >= 0 && std::fflush(stdout) == 0) return 0;
    std::fprintf(stderr, "%s: cannot write the version: %s\n", programName(), std::strerror(errno));
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    setUpCaptureProcess();
    setProgramName(argc > 0 ? argv[0] : nullptr);
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(argc, argv, options, error)) return badArguments(error);
    if (options.showHelp) return showHelp();
    if (options.showVersion) return showVersion();
    // A stop signal (on Windows, Ctrl+C or closing the console) removes the
    // unfinished outputs, from the trial files of the checks on; a vanished
    // encoder or a file size limit shows as a write error.
    installStopSignals();
    options.dataFolder = findDataFolder();
    if (!checkCaptureOutputs(options, error)) return badOutputs(error);
    CaptureSession session(options, stderrIsTerminal());
    if (!session.prepare() || !session.run()) {
        std::fprintf(stderr, "%s: %s\n", programName(), session.error().c_str());
        return kExitFailure;
    }
    return 0;
}
