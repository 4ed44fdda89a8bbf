#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/xwd_image.h"

namespace kv::x11test {

// A private Xvfb server on a display number it picks itself; $DISPLAY points to it while this
// object lives, so every X program the test starts talks to it. Optionally a window manager
// runs on it, so windows are framed, placed and focused as on a desktop.
class XvfbServer {
public:
    // `folder` receives the server's log and its framebuffer file. Qt programs started from then
    // on, this one included, use the server: DISPLAY names it, the platform is xcb, and there is
    // no session bus (without an address libdbus would try to start one through the X server).
    explicit XvfbServer(const std::filesystem::path& folder, bool withWindowManager = false);
    const std::string& display() const { return display_; }

    // The whole screen as a monitor would show it; throws when it cannot be read.
    //
    // The picture is Xvfb's own framebuffer, not `xwd -root`: when one program has two top-level
    // windows that overlap, xwd reads both through the lower one (they share a colour map that
    // is not the screen's default), and the server hands back black for the part the upper one
    // covers, although the screen shows it.
    XwdImage screenshot() const;

private:
    // Sets display_ once the new server can be reached.
    void startServer(const std::filesystem::path& logFile);
    void startWindowManager(const std::filesystem::path& logFile);

    std::filesystem::path framebuffer_;
    std::unique_ptr<ChildProcess> process_;
    std::unique_ptr<ChildProcess> windowManager_;
    std::string display_;
};

// Whether the window manager from XvfbServer should run: the environment variable
// KV_X11_WINDOW_MANAGER is set and not empty.
bool windowManagerWanted();

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// The synthesised input and window geometry go through xdotool and xwininfo.
std::vector<std::string> visibleWindowsOf(int pid);
std::optional<WindowGeometry> windowGeometry(const std::string& window);
bool click(int x, int y);
// Presses at `from`, moves to `to` in a few steps, releases there.
bool drag(int fromX, int fromY, int toX, int toY);
// Types text into the window that has the keyboard focus; `keys` are xdotool key names.
bool typeText(const std::string& text);
bool pressKeys(const std::vector<std::string>& keys);

}  // namespace kv::x11test
