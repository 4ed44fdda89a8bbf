#include "tests/support/x_server.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace kv::x11test {
namespace {

// Xvfb writes the display number it chose, followed by a newline, to the descriptor we pass.
std::string readDisplayNumber(int fd)
{
    std::string text;
    char c = 0;
    while (text.find('\n') == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0 || read(fd, &c, 1) != 1)
            return {};
        text += c;
    }
    return text.substr(0, text.find('\n'));
}

// The pointer rests in the screen's bottom right-hand corner after every input: the
// framebuffer holds the pointer's picture, which would cover what lies under it, and a pointer
// over a button would light it up.
const std::vector<std::string> kParkPointer{"sleep", "0.05", "mousemove", "1023", "767"};

}  // namespace

XvfbServer::XvfbServer(const std::filesystem::path& folder, bool withWindowManager)
    : framebuffer_(folder / "Xvfb_screen0")
{
    const std::filesystem::path logFile = folder / "xvfb.log";
    // Servers that start at the same moment can both be told the same free display, and then
    // one of them cannot be reached: such a server is replaced by a new one.
    for (int attempt = 0; display_.empty(); ++attempt) {
        if (attempt == 5)
            throw std::runtime_error("no Xvfb could be reached; see " + logFile.string());
        startServer(logFile);
    }
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (folder / "no-bus").string()).c_str(), 1);
    if (withWindowManager)
        startWindowManager(folder / "openbox.log");
    // The pointer starts in the middle of the screen, where it would cover the game's window.
    std::vector<std::string> park{"xdotool"};
    park.insert(park.end(), kParkPointer.begin() + 2, kParkPointer.end());
    if (!runForOutput(park))
        throw std::runtime_error("xdotool cannot move the pointer");
}

// A display number free in the file system and among the abstract sockets. Those are shared
// with other mount namespaces of the machine, where other servers may run unseen, and clients
// try them first; Xvfb's own choice (-displayfd alone) looks at the file system only. The search
// starts at a number of this process's own, so that tests starting together seldom meet.
static int freeDisplay()
{
    std::ifstream in("/proc/net/unix");
    const std::string sockets{std::istreambuf_iterator<char>(in), {}};
    const int first = 300 + static_cast<int>(getpid() % 500);
    for (int n = first; n < first + 500; ++n) {
        const std::string x = std::to_string(n);
        if (!std::filesystem::exists("/tmp/.X" + x + "-lock") &&
            !std::filesystem::exists("/tmp/.X11-unix/X" + x) &&
            sockets.find("@/tmp/.X11-unix/X" + x + "\n") == std::string::npos)
            return n;
    }
    return first;
}

// -noreset: an X server resets itself when its last client leaves, and a client that connects
// meanwhile is refused; between two xdotool calls there is often no client at all.
void XvfbServer::startServer(const std::filesystem::path& logFile)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create a pipe for Xvfb");
    try {
        process_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", ":" + std::to_string(freeDisplay()), "-noreset", "-displayfd",
                                     "3", "-screen", "0", "1024x768x24", "-fbdir",
                                     framebuffer_.parent_path().string(), "-nolisten", "tcp"},
            ChildProcess::Options{{}, logFile, fds[1]});
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);
    const std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    // A server that lost the race for its number ends without naming it; the next try picks
    // another.
    if (number.empty()) {
        process_.reset();
        return;
    }
    const std::string display = ":" + number;
    for (int look = 0; look < 20; ++look) {
        if (runForOutput({"xdpyinfo", "-display", display}) && std::filesystem::exists(framebuffer_)) {
            display_ = display;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    process_.reset();
}

void XvfbServer::startWindowManager(const std::filesystem::path& logFile)
{
    windowManager_ = std::make_unique<ChildProcess>(std::vector<std::string>{"openbox", "--sm-disable"},
                                                    ChildProcess::Options{{}, logFile, -1});
    // A window manager announces itself on the root window once it manages the screen; windows
    // mapped before that would be left unframed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!runForOutput({"xprop", "-root", "-notype", "_NET_SUPPORTING_WM_CHECK"})
                .value_or("")
                .starts_with("_NET_SUPPORTING_WM_CHECK: window id")) {
        if (!windowManager_->running() || std::chrono::steady_clock::now() > deadline) {
            std::ifstream log(logFile);
            const std::string text{std::istreambuf_iterator<char>(log), {}};
            throw std::runtime_error("openbox did not take over the screen; it said:\n" + text);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

XwdImage XvfbServer::screenshot() const
{
    std::ifstream file(framebuffer_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (!file)
        throw std::runtime_error("cannot read the framebuffer " + framebuffer_.string());
    std::string error;
    XwdImage image = XwdImage::parse(bytes, error);
    if (!error.empty())
        throw std::runtime_error("framebuffer unreadable: " + error);
    return image;
}

bool windowManagerWanted()
{
    const char* wanted = std::getenv("KV_X11_WINDOW_MANAGER");
    return wanted != nullptr && *wanted != '\0';
}

std::vector<std::string> visibleWindowsOf(int pid)
{
    // xdotool ends with status 1 when it finds nothing: that is "no window yet", not an error.
    const auto out = runForOutput({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)});
    std::vector<std::string> windows;
    std::istringstream lines(out.value_or(""));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            windows.push_back(line);
    return windows;
}

// xwininfo rather than `xdotool getwindowgeometry`, which counts the offset inside a window
// manager's frame twice.
std::optional<WindowGeometry> windowGeometry(const std::string& window)
{
    const auto out = runForOutput({"xwininfo", "-id", window});
    if (!out)
        return std::nullopt;
    WindowGeometry g;
    int found = 0;
    std::istringstream lines(*out);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(line.find_first_not_of(' '), colon);
        const int value = std::atoi(line.c_str() + colon + 1);
        int* slot = key.starts_with("Absolute upper-left X")   ? &g.x
                    : key.starts_with("Absolute upper-left Y") ? &g.y
                    : key.starts_with("Width")                 ? &g.width
                    : key.starts_with("Height")                ? &g.height
                                                               : nullptr;
        if (slot) {
            *slot = value;
            ++found;
        }
    }
    return found == 4 ? std::optional(g) : std::nullopt;
}

// No --sync on mousemove: xdotool then waits for a motion that never comes when the pointer
// already is at the target, as after a click on the same field.
bool click(int x, int y)
{
    std::vector<std::string> command{"xdotool", "mousemove", std::to_string(x), std::to_string(y),
                                     "sleep",   "0.05",      "click",           "1"};
    command.insert(command.end(), kParkPointer.begin(), kParkPointer.end());
    return runForOutput(command).has_value();
}

bool drag(int fromX, int fromY, int toX, int toY)
{
    std::vector<std::string> command{"xdotool", "mousemove", std::to_string(fromX), std::to_string(fromY),
                                     "sleep",   "0.05",      "mousedown",           "1",
                                     "sleep",   "0.1"};
    constexpr int kSteps = 6;
    for (int step = 1; step <= kSteps; ++step) {
        command.insert(command.end(),
                       {"mousemove", std::to_string(fromX + (toX - fromX) * step / kSteps),
                        std::to_string(fromY + (toY - fromY) * step / kSteps), "sleep", "0.05"});
    }
    command.insert(command.end(), {"mouseup", "1"});
    command.insert(command.end(), kParkPointer.begin(), kParkPointer.end());
    return runForOutput(command).has_value();
}

bool typeText(const std::string& text)
{
    return runForOutput({"xdotool", "type", "--delay", "30", text}).has_value();
}

bool pressKeys(const std::vector<std::string>& keys)
{
    std::vector<std::string> command{"xdotool", "key", "--delay", "30"};
    command.insert(command.end(), keys.begin(), keys.end());
    return runForOutput(command).has_value();
}

}  // namespace kv::x11test
