// Starts a program on the X display of $DISPLAY and reports how long it took until its first
// top-level window was mapped, and its resident memory a while after that:
//
//   map_timer <settle seconds> <program> [arguments...]
//   -> prints "map_ms=<milliseconds> rss_kb=<kilobytes>" and ends the program
//
// The clock starts just before the fork and stops when the X server reports the MapNotify of a
// window whose _NET_WM_PID is the child's, so no polling interval adds to the figure.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

long windowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success && data) {
        if (format == 32 && count == 1)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Waits up to `timeout` for the next X event; false on timeout.
bool nextEvent(Display* display, XEvent& event, std::chrono::steady_clock::time_point deadline)
{
    while (!XPending(display)) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return false;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval tv{static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(display), &fds);
        select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &tv);
    }
    XNextEvent(display, &event);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer <settle seconds> <program> [arguments...]\n");
        return 2;
    }
    const double settleS = std::stod(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: cannot open the display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[2], argv + 2);
        std::perror("map_timer: exec");
        _exit(127);
    }

    const auto deadline = started + std::chrono::seconds(30);
    double mapMs = -1.0;
    XEvent event;
    while (mapMs < 0 && nextEvent(display, event, deadline))
        if (event.type == MapNotify && !event.xmap.override_redirect
            && windowPid(display, event.xmap.window) == child)
            mapMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now()
                                                              - started).count();

    long rss = -1;
    if (mapMs >= 0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(settleS));
        rss = residentKb(child);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (mapMs < 0 || rss < 0) {
        std::fprintf(stderr, "map_timer: %s never mapped a window\n", argv[2]);
        return 1;
    }
    std::printf("map_ms=%.1f rss_kb=%ld\n", mapMs, rss);
    return 0;
}
