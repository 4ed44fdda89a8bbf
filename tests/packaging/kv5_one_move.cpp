// kv5_one_move COMMAND...: starts COMMAND (a way of starting the game that ends in kv5 under the
// same process, as a launcher that execs does) on a private Xvfb, waits for the game's window,
// presses "Spiel starten" and clicks one filled field, and says what the screen showed. Exit
// status 0 when the click added three fields (four with a randomly blocked one) and kept the
// others, 1 when not, 2 on bad use. It also prints the game's working folder and the sound
// modules it has loaded, for the caller to check.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "tests/support/board_look.h"
#include "tests/support/child_process.h"
#include "tests/support/x_server.h"

namespace {

using namespace std::chrono_literals;
using namespace kv::x11test;

constexpr int kStartButtonX = 635 + 65;
constexpr int kStartButtonY = 295 + 11;

struct Game {
    const XvfbServer& server;
    WindowGeometry window;

    BoardOnScreen board() const { return readBoard(server.screenshot(), window.x, window.y); }

    // The board once it differs from `before` and has held still for longer than a flash.
    BoardOnScreen afterChange(const BoardOnScreen& before) const
    {
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        BoardOnScreen now = board();
        while (now == before && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(50ms);
            now = board();
        }
        for (BoardOnScreen later; now != before; now = later) {
            std::this_thread::sleep_for(500ms);
            later = board();
            if (later == now || std::chrono::steady_clock::now() > deadline)
                return later;
        }
        return now;
    }
};

std::string readLink(const std::string& path)
{
    std::error_code error;
    return std::filesystem::read_symlink(path, error).string();
}

// The sound module's lines of the process's memory map: loaded at the first sound.
std::string soundModulesOf(pid_t pid)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line, found;
    while (std::getline(maps, line)) {
        const auto path = line.find('/');
        if (path != std::string::npos && line.find("kv5-sound") != std::string::npos &&
            found.find(line.substr(path)) == std::string::npos)
            found += " " + line.substr(path);
    }
    return found;
}

int occupiedGrowth(const BoardOnScreen& before, const BoardOnScreen& after, bool& keptOld)
{
    keptOld = true;
    for (int i = 0; i < 81; ++i)
        if (before[i].look != FieldLook::Free && !(after[i] == before[i]))
            keptOld = false;
    return occupiedFields(after) - occupiedFields(before);
}

int play(const std::vector<std::string>& command, const std::filesystem::path& folder)
{
    XvfbServer server(folder);
    ChildProcess process(command, {{}, folder / "game.log", -1});
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    std::vector<std::string> windows;
    while ((windows = visibleWindowsOf(process.pid())).empty()) {
        if (!process.running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("no window of the game appeared");
        std::this_thread::sleep_for(100ms);
    }
    const auto geometry = windowGeometry(windows.front());
    if (!geometry)
        throw std::runtime_error("xwininfo cannot tell the window's geometry");
    Game game{server, *geometry};
    std::cout << "window: " << geometry->width << "x" << geometry->height << " of "
              << readLink("/proc/" + std::to_string(process.pid()) + "/exe") << "\n"
              << "working folder: " << readLink("/proc/" + std::to_string(process.pid()) + "/cwd") << "\n";

    BoardOnScreen board = game.board();
    while (occupiedFields(board) != 0) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the empty board never showed:\n" + describe(board));
        std::this_thread::sleep_for(100ms);
        board = game.board();
    }
    click(geometry->x + kStartButtonX, geometry->y + kStartButtonY);
    BoardOnScreen started = game.afterChange(board);
    std::cout << "started: " << occupiedFields(started) << " fields\n" << describe(started);

    // A random colour wipe or a figure completed by the new fields changes old fields too; then
    // the next click gets a chance.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int filled = -1;
        for (int i = 0; i < 81 && filled < 0; ++i)
            if (started[i].look == FieldLook::Coloured)
                filled = i;
        if (filled < 0)
            throw std::runtime_error("no coloured field to click");
        click(geometry->x + fieldCentreX(filled), geometry->y + fieldCentreY(filled));
        const BoardOnScreen after = game.afterChange(started);
        bool keptOld = false;
        const int added = occupiedGrowth(started, after, keptOld);
        std::cout << "clicked field " << filled << ": " << occupiedFields(started) << " -> "
                  << occupiedFields(after) << " fields\n"
                  << describe(after);
        if (keptOld) {
            std::cout << "sound modules:" << soundModulesOf(process.pid()) << "\n";
            return added == 3 || added == 4 ? 0 : 1;
        }
        started = after;
    }
    std::cout << "every click was disturbed by a wipe or a figure\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: kv5_one_move COMMAND...\n";
        return 2;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "kv5-one-move-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::cerr << "kv5_one_move: cannot create a temporary folder\n";
        return 2;
    }
    // Readable by a player the command may switch to, for the X server's socket path.
    std::filesystem::permissions(pattern, std::filesystem::perms::owner_all |
                                              std::filesystem::perms::group_exec |
                                              std::filesystem::perms::others_exec);
    int status = 1;
    try {
        status = play({argv + 1, argv + argc}, pattern);
    } catch (const std::exception& e) {
        std::cout << "FAILED: " << e.what() << "\n";
    }
    std::ifstream log(std::filesystem::path(pattern) / "game.log");
    const std::string output{std::istreambuf_iterator<char>(log), {}};
    if (status != 0 && !output.empty())
        std::cout << "the game's output:\n" << output;
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return status;
}
