// The game's secondary windows on a real X server: the highscore table, the reset question and
// the name entry at the end of a played game, each read off the screen as a player sees it.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "tests/game/x11/kv5_session.h"
#include "tests/game/x11/kv5_suite.h"
#include "tests/support/window_look.h"

namespace kv::x11test {
namespace {

using namespace std::chrono_literals;
using Kind = Expectation::Kind;

constexpr Rgb kWindowGreen{128, 255, 128};
constexpr Rgb kFirstRowYellow{255, 255, 0};
constexpr int kColumnButtonX = 635 + 65;
constexpr int kStartButtonY = 295 + 11;
constexpr int kShowTableButtonY = 457 + 11;
constexpr int kResetButtonY = 484 + 11;
constexpr int kRecordSize = 39;

// Window pixels of a box given in twips, as the windows lay out their controls.
Box twips(int left, int top, int width, int height)
{
    auto px = [](int t) { return (t + 7) / 15; };
    return {px(left), px(top), px(width), px(height)};
}

// The inside of a button, clear of its bevel.
Box inside(Box b)
{
    return {b.left + 4, b.top + 4, b.width - 8, b.height - 8};
}

Box nameCell(int row)
{
    return twips(1700, 300 * (row + 1), 2040, 285);
}

const Box kTableButton = twips(4305, 3495, 1095, 300);
const Box kEntryButton = twips(1725, 1410, 900, 285);
const Box kNoButton = twips(2130, 1200, 990, 360);

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The shipped table with -1 points on ranks 10 and 11, so that any result of a game, 0
// included, is asked for its name and shown in the table.
std::string tableTakingEveryResult()
{
    std::string bytes = readFile(std::filesystem::path(KV_STAGE_DIR) / "P1.dat");
    for (const int record : {9, 10}) {
        bytes.at(record * kRecordSize) = '\xFF';
        bytes.at(record * kRecordSize + 1) = '\xFF';
    }
    return bytes;
}

class Kv5WindowsOnX11 : public Kv5Suite<Kv5WindowsOnX11> {
public:
    static Kv5Session::Options sessionOptions()
    {
        Kv5Session::Options options;
        options.highscoreFile = tableTakingEveryResult();
        return options;
    }

protected:
    // The window that a click opened, once it shows its background, frame and every expectation.
    static WindowGeometry windowShowing(const std::string& title, int width, int height,
                                        const std::vector<Expectation>& expectations)
    {
        const auto asked = std::chrono::steady_clock::now();
        const auto window = session_->otherWindow(10s);
        if (!window) {
            ADD_FAILURE() << title << " did not appear";
            return {};
        }
        EXPECT_EQ(window->width, width) << title;
        EXPECT_EQ(window->height, height) << title;
        std::string wrong;
        do {
            wrong = lookOfFramedWindow(session_->screen(), *window, kWindowGreen, expectations);
            if (wrong.empty()) {
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - asked);
                std::cout << title << " showed its content " << ms.count() << " ms after it was asked for\n";
                return *window;
            }
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < asked + 10s);
        ADD_FAILURE() << title << " does not show its content on the screen:\n" << wrong;
        return *window;
    }

    static void clickInside(const WindowGeometry& window, const Box& box)
    {
        ASSERT_TRUE(click(window.x + box.left + box.width / 2, window.y + box.top + box.height / 2));
    }
};

TEST_F(Kv5WindowsOnX11, TableShowsTheStoredResultsAndClosesWithItsButton)
{
    ASSERT_TRUE(session_->clickAt(kColumnButtonX, kShowTableButtonY));
    const WindowGeometry table =
        windowShowing("the highscore table", 392, 267,
                      {{"the name of rank 1", nameCell(0), Kind::Text},
                       {"the yellow cell of rank 1", nameCell(0), Kind::ColourAtRightEnd, kFirstRowYellow},
                       {"the date of rank 1", twips(4005, 300, 1395, 285), Kind::Text},
                       {"the blank name of rank 4", nameCell(3), Kind::NoText},
                       {"the caption \"Zurück\"", inside(kTableButton), Kind::Text}});
    clickInside(table, kTableButton);
    EXPECT_TRUE(session_->onlyMainWindow(10s)) << "the table stayed open";
}

TEST_F(Kv5WindowsOnX11, ResetQuestionAsksAndNoKeepsTheTable)
{
    const std::string before = readFile(session_->stage() / "P1.dat");
    ASSERT_TRUE(session_->clickAt(kColumnButtonX, kResetButtonY));
    const WindowGeometry question =
        windowShowing("the reset question", 250, 144,
                      {{"the question", twips(285, 615, 3225, 270), Kind::Text},
                       {"the caption \"ja\"", inside(twips(645, 1200, 990, 360)), Kind::Text},
                       {"the caption \"nein\"", inside(kNoButton), Kind::Text}});
    clickInside(question, kNoButton);
    EXPECT_TRUE(session_->onlyMainWindow(10s)) << "the question stayed open";
    EXPECT_EQ(readFile(session_->stage() / "P1.dat"), before);
}

// Fruitless moves fill the board three fields at a time until the game ends; any result then
// asks for its name, which goes into the file and the table.
TEST_F(Kv5WindowsOnX11, NameEntryFollowsAPlayedGameAndTheTableShowsTheName)
{
    BoardOnScreen board = session_->board();
    ASSERT_TRUE(session_->clickAt(kColumnButtonX, kStartButtonY));
    board = session_->boardAfterChange(board, 10s);
    for (int move = 0; move < 300 && !session_->otherWindow(0ms); ++move) {
        int filled = -1;
        for (int i = 0; i < 81 && filled < 0; ++i)
            if (board[i].look == FieldLook::Coloured)
                filled = i;
        if (filled < 0 || occupiedFields(board) == 81)
            break;  // the game is over, or only jokers are left to click: wait for the entry
        ASSERT_TRUE(session_->clickField(filled));
        board = session_->boardAfterChange(board, 5s);
    }
    const WindowGeometry entry =
        windowShowing("the name entry", 219, 136,
                      {{"the question", twips(525, 330, 2310, 495), Kind::Text},
                       {"the caption \"Weiter\"", inside(kEntryButton), Kind::Text}});
    ASSERT_TRUE(typeText("Tester"));
    windowShowing("the name entry with a name", 219, 136,
                  {{"the typed name", twips(585, 780, 2040, 285), Kind::Text}});
    clickInside(entry, kEntryButton);

    const std::string file = readFile(session_->stage() / "P1.dat");
    const auto at = file.find("Tester");
    ASSERT_NE(at, std::string::npos) << "the name was not stored";
    const int row = static_cast<int>(at / kRecordSize);
    ASSERT_LT(row, 10);
    const WindowGeometry table =
        windowShowing("the table after the entry", 392, 267,
                      {{"the stored name", nameCell(row), Kind::Text},
                       {"the caption \"Zurück\"", inside(kTableButton), Kind::Text}});
    clickInside(table, kTableButton);
    EXPECT_TRUE(session_->onlyMainWindow(10s));
}

}  // namespace
}  // namespace kv::x11test
