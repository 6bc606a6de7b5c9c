#pragma once
// A private X server (Xvfb) for one test, optionally with openbox as window
// manager, and the programs and commands the tests run on it.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "screen_check.h"

// The whole content of a file.
std::string fileText(const std::string& path);

// A program started by a test, its standard output collected in a file.
class ChildProcess {
public:
    // Runs argv with the current environment changed by settings such as
    // "DISPLAY=:5"; a setting "NAME=" without value removes NAME.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& settings);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit code, or nothing when the program still runs after timeoutMs
    // (or ended by a signal, reported as 128 + signal).
    std::optional<int> waitForExit(int timeoutMs);
    bool waitForOutput(const std::string& text, int timeoutMs);
    std::string output() const;  // standard output
    std::string errorOutput() const;
    bool running();
    void sendSignal(int number) const;
    // The signal that ended the program, 0 when it exited or still runs.
    int endSignal() const { return endSignal_; }

private:
    pid_t pid_ = -1;
    int endSignal_ = 0;
    std::string outputPath_;
    std::string errorPath_;
    std::optional<int> exitCode_;
};

class XSession {
public:
    // screen as for Xvfb's -screen, e.g. "1024x768x24".
    XSession(const std::string& screen, bool withWindowManager);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    std::string display() const { return display_; }
    // Runs a shell command with this display; returns its standard output.
    std::string run(const std::string& command) const;
    // The root window as 8-bit RGB triples, row by row.
    Screenshot screenshot() const;
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    bool startServer(const std::string& screen);
    bool startWindowManager();

    bool ready_ = false;
    std::string display_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    pid_t serverPid_ = -1;
    pid_t windowManagerPid_ = -1;
};

// Position and size of a window: the client area and the frame around it.
struct WindowPlace {
    int32_t clientX = 0, clientY = 0, clientWidth = 0, clientHeight = 0;
    int32_t left = 0, right = 0, top = 0, bottom = 0;  // frame extents
    int32_t outerX() const { return clientX - left; }
    int32_t outerY() const { return clientY - top; }
    int32_t outerWidth() const { return clientWidth + left + right; }
    int32_t outerHeight() const { return clientHeight + top + bottom; }
};

// The id of the visible window titled "test", or empty after timeoutMs.
std::string findTestWindow(const XSession& session, int timeoutMs);
WindowPlace windowPlace(const XSession& session, const std::string& windowId);
// Waits until the window's place stays the same for a moment.
WindowPlace settledWindowPlace(const XSession& session, const std::string& windowId);
// Waits until the window has left its previous place, then until it settles.
WindowPlace movedWindowPlace(const XSession& session, const std::string& windowId, const WindowPlace& previous);
// Focuses the window, moves the pointer over it and types the key.
void typeKey(const XSession& session, const std::string& windowId, const std::string& key);
void pauseMs(int ms);

// Asks the window to close the way a window manager does (WM_DELETE_WINDOW),
// without needing one.
void sendCloseRequest(const XSession& session, const std::string& windowId);

// A small plain window of the test's own that takes the input focus.
class FocusThief {
public:
    explicit FocusThief(const XSession& session);
    ~FocusThief();
    FocusThief(const FocusThief&) = delete;
    FocusThief& operator=(const FocusThief&) = delete;
    bool tookFocus() const { return tookFocus_; }

private:
    void* display_ = nullptr;
    unsigned long window_ = 0;
    bool tookFocus_ = false;
};
