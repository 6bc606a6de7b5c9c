#include "x_session.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

int readNumberAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    if (at == std::string::npos) return 0;
    return std::atoi(text.c_str() + at + label.size());
}

}  // namespace

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

XSession::XSession(const std::string& screen, bool withWindowManager) {
    ready_ = startServer(screen) && (!withWindowManager || startWindowManager());
}

bool XSession::startServer(const std::string& screen) {
    std::sscanf(screen.c_str(), "%dx%d", &width_, &height_);
    // The server picks a free display and writes its number and a line end
    // on its standard output (file descriptor 1).
    server_ = std::make_unique<StartedProgram>(std::vector<std::string>{
        "Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
    if (!server_->waitForOutput("\n", 20000)) return false;
    const std::string written = server_->output();
    const std::string number = written.substr(0, written.find('\n'));
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
}

bool XSession::startWindowManager() {
    windowManager_ = std::make_unique<StartedProgram>(std::vector<std::string>{"openbox", "--sm-disable"},
                                                      Environment{{"DISPLAY", display_}});
    for (int i = 0; i < 250; ++i) {
        if (run({"wmctrl", "-m"}).find("Openbox") != std::string::npos) return true;
        pauseMs(20);
    }
    return false;
}

std::string XSession::run(const std::vector<std::string>& argv) const {
    return runProgram(argv, std::chrono::seconds(60), {{"DISPLAY", display_}}).out;
}

Screenshot XSession::screenshot() const {
    const std::string bytes = run({"import", "-window", "root", "-depth", "8", "rgb:-"});
    Screenshot shot;
    shot.width = width_;
    std::vector<Rgb>& pixels = shot.pixels;
    if (bytes.size() != static_cast<size_t>(width_) * height_ * 3) return shot;
    pixels.resize(static_cast<size_t>(width_) * height_);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = Rgb{static_cast<uint8_t>(bytes[3 * i]), static_cast<uint8_t>(bytes[3 * i + 1]),
                        static_cast<uint8_t>(bytes[3 * i + 2])};
    }
    return shot;
}

std::string findTestWindow(const XSession& session, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        const std::string found = session.run({"xdotool", "search", "--onlyvisible", "--name", "^test$"});
        const std::string id = found.substr(0, found.find_first_of("\n "));
        if (!id.empty()) return id;
        pauseMs(50);
    }
    return "";
}

WindowPlace windowPlace(const XSession& session, const std::string& windowId) {
    WindowPlace place;
    const std::string info = session.run({"xwininfo", "-id", windowId});
    place.clientX = readNumberAfter(info, "Absolute upper-left X:");
    place.clientY = readNumberAfter(info, "Absolute upper-left Y:");
    place.clientWidth = readNumberAfter(info, "Width:");
    place.clientHeight = readNumberAfter(info, "Height:");
    const std::string extents = session.run({"xprop", "-id", windowId, "_NET_FRAME_EXTENTS"});
    std::sscanf(extents.c_str(), "_NET_FRAME_EXTENTS(CARDINAL) = %d, %d, %d, %d", &place.left, &place.right,
                &place.top, &place.bottom);
    return place;
}

WindowPlace settledWindowPlace(const XSession& session, const std::string& windowId) {
    WindowPlace last = windowPlace(session, windowId);
    for (int i = 0; i < 40; ++i) {
        pauseMs(100);
        const WindowPlace now = windowPlace(session, windowId);
        if (std::memcmp(&now, &last, sizeof now) == 0) return now;
        last = now;
    }
    return last;
}

WindowPlace movedWindowPlace(const XSession& session, const std::string& windowId,
                             const WindowPlace& previous) {
    for (int i = 0; i < 100; ++i) {
        const WindowPlace now = windowPlace(session, windowId);
        if (std::memcmp(&now, &previous, sizeof now) != 0) break;
        pauseMs(50);
    }
    return settledWindowPlace(session, windowId);
}

void typeKey(const XSession& session, const std::string& windowId, const std::string& key) {
    session.run({"xdotool", "windowactivate", "--sync", windowId});
    session.run({"xdotool", "windowfocus", "--sync", windowId, "mousemove", "--window", windowId, "20", "20",
                 "key", key});
}

void sendCloseRequest(const XSession& session, const std::string& windowId) {
    Display* display = XOpenDisplay(session.display().c_str());
    if (display == nullptr) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::strtoul(windowId.c_str(), nullptr, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

FocusThief::FocusThief(const XSession& session) {
    Display* display = XOpenDisplay(session.display().c_str());
    display_ = display;
    if (display == nullptr) return;
    window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 60, 60, 0, 0, 0);
    XStoreName(display, window_, "thief");
    XMapWindow(display, window_);
    XFlush(display);
    session.run({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^thief$"});
    session.run({"xdotool", "windowactivate", "--sync", std::to_string(window_)});
    const std::string focused = session.run({"xdotool", "getwindowfocus"});
    tookFocus_ = std::strtoul(focused.c_str(), nullptr, 10) == window_;
}

FocusThief::~FocusThief() {
    if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
}
