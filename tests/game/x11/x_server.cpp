#include "x_server.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
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

} // namespace

XvfbServer::XvfbServer(const std::filesystem::path& logFile)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create a pipe for Xvfb");
    try {
        process_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24",
                                     "-nolisten", "tcp"},
            ChildProcess::Options{{}, logFile, fds[1]});
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);
    const std::string number = readDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty())
        throw std::runtime_error("Xvfb did not report a display within 10 s; see "
                                 + logFile.string());
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
}

std::vector<std::string> visibleWindowsOf(int pid)
{
    // xdotool ends with status 1 when it finds nothing: that is "no window yet", not an error.
    const auto out = runForOutput({"xdotool", "search", "--onlyvisible", "--pid",
                                   std::to_string(pid)});
    std::vector<std::string> windows;
    std::istringstream lines(out.value_or(""));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty())
            windows.push_back(line);
    return windows;
}

std::optional<WindowGeometry> windowGeometry(const std::string& window)
{
    const auto out = runForOutput({"xdotool", "getwindowgeometry", "--shell", window});
    if (!out)
        return std::nullopt;
    WindowGeometry g;
    int found = 0;
    std::istringstream lines(*out);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        int* slot = key == "X" ? &g.x : key == "Y" ? &g.y : key == "WIDTH" ? &g.width
                  : key == "HEIGHT" ? &g.height : nullptr;
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
    return runForOutput({"xdotool", "mousemove", std::to_string(x), std::to_string(y),
                         "sleep", "0.05", "click", "1"})
        .has_value();
}

bool drag(int fromX, int fromY, int toX, int toY)
{
    std::vector<std::string> command{"xdotool", "mousemove", std::to_string(fromX),
                                     std::to_string(fromY), "sleep", "0.05", "mousedown", "1",
                                     "sleep", "0.1"};
    constexpr int kSteps = 6;
    for (int step = 1; step <= kSteps; ++step) {
        command.insert(command.end(),
                       {"mousemove", std::to_string(fromX + (toX - fromX) * step / kSteps),
                        std::to_string(fromY + (toY - fromY) * step / kSteps), "sleep", "0.05"});
    }
    command.insert(command.end(), {"mouseup", "1"});
    return runForOutput(command).has_value();
}

XwdImage screenshot()
{
    const auto dump = runForOutput({"xwd", "-root", "-silent"});
    if (!dump)
        throw std::runtime_error("xwd could not take a screenshot");
    std::string error;
    XwdImage image = XwdImage::parse(*dump, error);
    if (!error.empty())
        throw std::runtime_error("xwd output unreadable: " + error);
    return image;
}

} // namespace kv::x11test
