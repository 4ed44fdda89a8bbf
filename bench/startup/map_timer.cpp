// Starts a program on the X display of $DISPLAY and reports how long it took until its first
// top-level window was mapped, until that window's first frame was drawn, and its resident
// memory a while after that:
//
//   map_timer <settle seconds> <program> [arguments...]
//   -> prints "map_ms=<ms> paint_ms=<ms> rss_kb=<kilobytes>" and ends the program
//
// The clock starts just before the fork. The map time is the X server's MapNotify of a window
// whose _NET_WM_PID is the child's; the paint time is the first Damage report of that window
// after it was mapped (a program draws its whole first frame in one go). Both are events, so no
// polling interval adds to the figures.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

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
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &remaining, &data) == Success &&
        data) {
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

// Windows come and go while they are watched: a window destroyed before its Damage object was
// made or used is no error of ours.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

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
    XSetErrorHandler(ignoreXErrors);
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "map_timer: the X server has no Damage extension\n");
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
    auto msSinceStart = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    };

    // Every new top-level window is watched for drawing from its creation on, since the child
    // may draw before this program has seen the window mapped.
    const auto deadline = started + std::chrono::seconds(30);
    double mapMs = -1.0;
    double paintMs = -1.0;
    Window mapped = None;
    XEvent event;
    while (paintMs < 0 && nextEvent(display, event, deadline)) {
        if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (mapMs < 0 && event.type == MapNotify && !event.xmap.override_redirect &&
                   windowPid(display, event.xmap.window) == child) {
            mapMs = msSinceStart();
            mapped = event.xmap.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (mapMs >= 0 && damage.drawable == mapped)
                paintMs = msSinceStart();
            XDamageSubtract(display, damage.damage, None, None);
        }
    }

    long rss = -1;
    if (paintMs >= 0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(settleS));
        rss = residentKb(child);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (paintMs < 0 || rss < 0) {
        std::fprintf(stderr, "map_timer: %s never mapped and drew a window\n", argv[2]);
        return 1;
    }
    std::printf("map_ms=%.1f paint_ms=%.1f rss_kb=%ld\n", mapMs, paintMs, rss);
    return 0;
}
