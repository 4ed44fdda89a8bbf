#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "xwd_image.h"

namespace kv::x11test {

// A private Xvfb server on a display number it picks itself; $DISPLAY points to it while this
// object lives, so every X program the test starts talks to it.
class XvfbServer {
public:
    explicit XvfbServer(const std::filesystem::path& logFile);
    const std::string& display() const { return display_; }

private:
    std::unique_ptr<ChildProcess> process_;
    std::string display_;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// The synthesised input and the look at the screen go through xdotool and xwd.
std::vector<std::string> visibleWindowsOf(int pid);
std::optional<WindowGeometry> windowGeometry(const std::string& window);
bool click(int x, int y);
// Presses at `from`, moves to `to` in a few steps, releases there.
bool drag(int fromX, int fromY, int toX, int toY);
// The whole screen; throws with the reason when no picture can be taken.
XwdImage screenshot();

} // namespace kv::x11test
