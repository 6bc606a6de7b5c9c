#pragma once
// A private X server (Xvfb) for one test, optionally with openbox as window
// manager, and the programs and commands the tests run on it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "screen_check.h"
#include "support/process.h"

class XSession {
public:
    // screen as for Xvfb's -screen, e.g. "1024x768x24".
    XSession(const std::string& screen, bool withWindowManager);
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ready() const { return ready_; }
    std::string display() const { return display_; }
    // Runs a program with this display; returns its standard output.
    std::string run(const std::vector<std::string>& argv) const;
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
    std::unique_ptr<StartedProgram> server_;
    std::unique_ptr<StartedProgram> windowManager_;  // stopped before the server
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
WindowPlace movedWindowPlace(const XSession& session, const std::string& windowId,
                             const WindowPlace& previous);
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
