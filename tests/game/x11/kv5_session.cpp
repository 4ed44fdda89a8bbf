#include "tests/game/x11/kv5_session.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kv::x11test {
namespace {

using namespace std::chrono_literals;

std::filesystem::path makePrivateFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kv5-x11-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A flash clears after 400 ms: a board that held still for longer shows no passing state.
constexpr auto kStillFor = 500ms;

}  // namespace

Kv5Session::Kv5Session(const std::filesystem::path& kv5, const std::filesystem::path& stage,
                       const Options& options)
    : folder_(makePrivateFolder())
{
    try {
        std::filesystem::copy(stage, this->stage(), std::filesystem::copy_options::recursive);
        if (options.highscoreFile) {
            std::ofstream file(this->stage() / "P1.dat", std::ios::binary | std::ios::trunc);
            file << *options.highscoreFile;
            if (!file.flush())
                throw std::runtime_error("cannot write the highscore file");
        }
        std::filesystem::create_directory(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);

        server_ = std::make_unique<XvfbServer>(folder_, options.windowManager);
        game_ = std::make_unique<ChildProcess>(std::vector<std::string>{kv5.string()},
                                               ChildProcess::Options{this->stage(), folder_ / "kv5.log", -1});

        const auto deadline = std::chrono::steady_clock::now() + 20s;
        std::vector<std::string> windows;
        while ((windows = visibleWindowsOf(game_->pid())).empty()) {
            if (!game_->running())
                throw std::runtime_error("kv5 ended before showing a window:\n" + gameOutput() +
                                         "\nThe X server's log:\n" + readText(folder_ / "xvfb.log"));
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("kv5 showed no window within 20 s:\n" + gameOutput());
            std::this_thread::sleep_for(50ms);
        }
        if (windows.size() != 1)
            throw std::runtime_error("kv5 shows " + std::to_string(windows.size()) +
                                     " windows at start-up instead of one");
        mainWindow_ = windows.front();
        const auto geometry = windowGeometry(mainWindow_);
        if (!geometry)
            throw std::runtime_error("xdotool cannot tell the geometry of kv5's window");
        window_ = *geometry;

        // Mapped is not yet painted: wait for the empty board in its base colour.
        while (occupiedFields(board()) != 0) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("kv5's window never showed an empty board; it shows\n" +
                                         describe(board()));
            std::this_thread::sleep_for(50ms);
        }
    } catch (...) {
        game_.reset();
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

Kv5Session::~Kv5Session()
{
    game_.reset();
    server_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool Kv5Session::clickAt(int x, int y) const
{
    return click(window_.x + x, window_.y + y);
}

bool Kv5Session::clickField(int index) const
{
    return clickAt(fieldCentreX(index), fieldCentreY(index));
}

bool Kv5Session::dragField(int from, int to) const
{
    return drag(window_.x + fieldCentreX(from), window_.y + fieldCentreY(from), window_.x + fieldCentreX(to),
                window_.y + fieldCentreY(to));
}

bool Kv5Session::dragFieldOntoItself(int index) const
{
    constexpr int kAside = 15;  // still well inside the 62-pixel field
    return drag(window_.x + fieldCentreX(index), window_.y + fieldCentreY(index),
                window_.x + fieldCentreX(index) + kAside, window_.y + fieldCentreY(index) + kAside);
}

std::optional<WindowGeometry> Kv5Session::otherWindow(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        for (const std::string& window : visibleWindowsOf(game_->pid()))
            if (window != mainWindow_)
                return windowGeometry(window);
        if (std::chrono::steady_clock::now() > deadline)
            return std::nullopt;
        std::this_thread::sleep_for(20ms);
    }
}

bool Kv5Session::onlyMainWindow(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (visibleWindowsOf(game_->pid()) != std::vector<std::string>{mainWindow_}) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

PanelOnScreen Kv5Session::panel(const PanelPlace& place, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    PanelOnScreen previous = readPanel(screen(), window_.x, window_.y, place);
    for (;;) {
        std::this_thread::sleep_for(100ms);
        const PanelOnScreen now = readPanel(screen(), window_.x, window_.y, place);
        if ((now.covered && describe(now) == describe(previous)) ||
            std::chrono::steady_clock::now() > deadline)
            return now;
        previous = now;
    }
}

BoardOnScreen Kv5Session::board() const
{
    return readBoard(screen(), window_.x, window_.y);
}

BoardOnScreen Kv5Session::boardAfterChange(const BoardOnScreen& before,
                                           std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    BoardOnScreen now = board();
    while (now == before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        now = board();
    }
    if (now == before)
        return now;
    for (;;) {
        std::this_thread::sleep_for(kStillFor);
        const BoardOnScreen later = board();
        if (later == now || std::chrono::steady_clock::now() > deadline + 5s)
            return later;
        now = later;
    }
}

std::string Kv5Session::gameOutput() const
{
    return readText(folder_ / "kv5.log");
}

}  // namespace kv::x11test
