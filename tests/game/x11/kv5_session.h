#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "tests/support/board_look.h"
#include "tests/support/child_process.h"
#include "tests/support/panel_look.h"
#include "tests/support/x_server.h"

namespace kv::x11test {

// kv5 running on its own Xvfb, from a copy of the stage folder so the highscore file of the
// build stays as it was. Everything it started is ended and removed on destruction.
class Kv5Session {
public:
    struct Options {
        // Replaces the staged P1.dat.
        std::optional<std::string> highscoreFile;
        bool windowManager = windowManagerWanted();
    };

    // Throws with the reason if the game's window does not appear with an empty board.
    Kv5Session(const std::filesystem::path& kv5, const std::filesystem::path& stage, const Options& options);
    Kv5Session(const std::filesystem::path& kv5, const std::filesystem::path& stage)
        : Kv5Session(kv5, stage, Options{})
    {
    }
    ~Kv5Session();
    Kv5Session(const Kv5Session&) = delete;
    Kv5Session& operator=(const Kv5Session&) = delete;

    const WindowGeometry& window() const { return window_; }
    // The folder kv5 runs in, with its P1.dat.
    std::filesystem::path stage() const { return folder_ / "stage"; }
    XwdImage screen() const { return server_->screenshot(); }

    // The geometry of a window of the game besides the main one, once one is mapped.
    std::optional<WindowGeometry> otherWindow(std::chrono::milliseconds timeout) const;
    // Whether the game shows only its main window again within `timeout`.
    bool onlyMainWindow(std::chrono::milliseconds timeout) const;

    // Input at a point of the window's client area, and on board fields.
    bool clickAt(int x, int y) const;
    bool clickField(int index) const;
    bool dragField(int from, int to) const;
    // Presses on a field and releases on it a few pixels away.
    bool dragFieldOntoItself(int index) const;

    BoardOnScreen board() const;
    // A text panel once it covers its place and its picture holds still (as it looks after
    // `timeout` otherwise).
    PanelOnScreen panel(const PanelPlace& place, std::chrono::milliseconds timeout) const;
    // Waits until the board differs from `before` (returns `before` after the timeout), then
    // until it holds still for longer than a flash lasts.
    BoardOnScreen boardAfterChange(const BoardOnScreen& before, std::chrono::milliseconds timeout) const;

    bool gameRunning() { return game_->running(); }
    std::string gameOutput() const;

private:
    std::filesystem::path folder_;
    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<ChildProcess> game_;
    WindowGeometry window_;
    std::string mainWindow_;
};

}  // namespace kv::x11test
