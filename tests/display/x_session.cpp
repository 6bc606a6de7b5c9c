#include "x_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::vector<std::string> changedEnvironment(const std::vector<std::string>& settings) {
    std::vector<std::string> result;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& s : settings) replaced = replaced || s.substr(0, s.find('=')) == name;
        if (!replaced) result.push_back(entry);
    }
    for (const std::string& s : settings) {
        if (s.back() != '=') result.push_back(s);
    }
    return result;
}

std::vector<char*> cStrings(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// Starts a program with stdout going to outputFd and stderr to errorFd.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> environment, int outputFd, int errorFd) {
    std::vector<char*> args = cStrings(argv);
    std::vector<char*> env = cStrings(environment);
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        dup2(outputFd, STDOUT_FILENO);
        dup2(errorFd, STDERR_FILENO);
        execvpe(args[0], args.data(), env.data());
        _exit(127);
    }
    return pid;
}

void stopProcess(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        pauseMs(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int readNumberAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    if (at == std::string::npos) return 0;
    return std::atoi(text.c_str() + at + label.size());
}

}  // namespace

void pauseMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& settings) {
    char path[] = "/tmp/display_test_outputXXXXXX";
    const int fd = mkstemp(path);
    outputPath_ = path;
    char errorPath[] = "/tmp/display_test_errorsXXXXXX";
    const int errorFd = mkstemp(errorPath);
    errorPath_ = errorPath;
    pid_ = spawn(argv, changedEnvironment(settings), fd, errorFd);
    close(fd);
    close(errorFd);
}

ChildProcess::~ChildProcess() {
    if (!exitCode_) stopProcess(pid_);
    std::remove(outputPath_.c_str());
    std::remove(errorPath_.c_str());
}

std::optional<int> ChildProcess::waitForExit(int timeoutMs) {
    for (int waited = 0; !exitCode_; waited += 10) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            endSignal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        } else if (waited >= timeoutMs) {
            break;
        } else {
            pauseMs(10);
        }
    }
    return exitCode_;
}

bool ChildProcess::running() { return !waitForExit(0).has_value(); }

void ChildProcess::sendSignal(int number) const {
    if (pid_ > 0) kill(pid_, number);
}

bool ChildProcess::waitForOutput(const std::string& text, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (output().find(text) != std::string::npos) return true;
        if (!running()) return output().find(text) != std::string::npos;
        pauseMs(20);
    }
    return false;
}

std::string ChildProcess::output() const { return fileText(outputPath_); }

std::string ChildProcess::errorOutput() const { return fileText(errorPath_); }

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

XSession::XSession(const std::string& screen, bool withWindowManager) {
    ready_ = startServer(screen) && (!withWindowManager || startWindowManager());
}

XSession::~XSession() {
    stopProcess(windowManagerPid_);
    stopProcess(serverPid_);
}

bool XSession::startServer(const std::string& screen) {
    std::sscanf(screen.c_str(), "%dx%d", &width_, &height_);
    int fds[2];
    if (pipe(fds) != 0) return false;
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    serverPid_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp",
                        "-noreset"},
                       changedEnvironment({}), quiet, quiet);
    close(quiet);
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
}

bool XSession::startWindowManager() {
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    windowManagerPid_ =
        spawn({"openbox", "--sm-disable"}, changedEnvironment({"DISPLAY=" + display_}), quiet, quiet);
    close(quiet);
    for (int i = 0; i < 250; ++i) {
        if (run("wmctrl -m 2>/dev/null").find("Openbox") != std::string::npos) return true;
        pauseMs(20);
    }
    return false;
}

std::string XSession::run(const std::string& command) const {
    const std::string full = "export DISPLAY=" + display_ + "; " + command;
    FILE* pipe = popen(full.c_str(), "r");
    if (pipe == nullptr) return "";
    std::string result;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.append(buffer, got);
    pclose(pipe);
    return result;
}

Screenshot XSession::screenshot() const {
    const std::string bytes = run("import -window root -depth 8 rgb:-");
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
        std::string id = session.run("xdotool search --onlyvisible --name '^test$' 2>/dev/null | head -n1");
        while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
        if (!id.empty()) return id;
        pauseMs(50);
    }
    return "";
}

WindowPlace windowPlace(const XSession& session, const std::string& windowId) {
    WindowPlace place;
    const std::string info = session.run("xwininfo -id " + windowId);
    place.clientX = readNumberAfter(info, "Absolute upper-left X:");
    place.clientY = readNumberAfter(info, "Absolute upper-left Y:");
    place.clientWidth = readNumberAfter(info, "Width:");
    place.clientHeight = readNumberAfter(info, "Height:");
    const std::string extents = session.run("xprop -id " + windowId + " _NET_FRAME_EXTENTS");
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

WindowPlace movedWindowPlace(const XSession& session, const std::string& windowId, const WindowPlace& previous) {
    for (int i = 0; i < 100; ++i) {
        const WindowPlace now = windowPlace(session, windowId);
        if (std::memcmp(&now, &previous, sizeof now) != 0) break;
        pauseMs(50);
    }
    return settledWindowPlace(session, windowId);
}

void typeKey(const XSession& session, const std::string& windowId, const std::string& key) {
    session.run("xdotool windowactivate --sync " + windowId + " 2>/dev/null; xdotool windowfocus --sync " +
                windowId + " mousemove --window " + windowId + " 20 20 key " + key);
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
    session.run("xdotool search --sync --onlyvisible --name '^thief$' >/dev/null 2>&1");
    session.run("xdotool windowactivate --sync " + std::to_string(window_) + " >/dev/null 2>&1");
    const std::string focused = session.run("xdotool getwindowfocus");
    tookFocus_ = std::strtoul(focused.c_str(), nullptr, 10) == window_;
}

FocusThief::~FocusThief() {
    if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
}
