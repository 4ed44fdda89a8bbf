// kv5 on a real X server, played with synthesised mouse input the way a player would.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/game/x11/kv5_session.h"
#include "tests/game/x11/kv5_suite.h"

namespace kv::x11test {
namespace {

using namespace std::chrono_literals;

constexpr int kStartButtonX = 635 + 65;
constexpr int kStartButtonY = 295 + 11;
constexpr int kRulesButtonY = 403 + 11;
constexpr int kInformationButtonY = 430 + 11;

constexpr PanelPlace kRulesPanel{31, 13, 577, 574, {255, 255, 255}};
constexpr PanelPlace kInformationPanel{35, 15, 570, 570, {192, 255, 192}};

std::vector<int> fieldsThatAre(const BoardOnScreen& board, FieldLook look)
{
    std::vector<int> found;
    for (int i = 0; i < 81; ++i)
        if (board[i].look == look)
            found.push_back(i);
    return found;
}

// Whether every field that was occupied still shows the same: no wipe and no cleared figure
// came between.
bool oldFieldsKept(const BoardOnScreen& before, const BoardOnScreen& after)
{
    for (int i = 0; i < 81; ++i)
        if (before[i].look != FieldLook::Free && !(after[i] == before[i]))
            return false;
    return true;
}

int newlyBlocked(const BoardOnScreen& before, const BoardOnScreen& after)
{
    int count = 0;
    for (int i = 0; i < 81; ++i)
        count += before[i].look == FieldLook::Free && after[i].look == FieldLook::Blocked;
    return count;
}

class Kv5OnX11 : public Kv5Suite<Kv5OnX11> {
public:
    static Kv5Session::Options sessionOptions() { return {}; }

protected:
    // Starts the game once for all tests that need a running one.
    static BoardOnScreen startedBoard()
    {
        static std::optional<BoardOnScreen> started;
        if (!started) {
            const BoardOnScreen empty = session_->board();
            session_->clickAt(kStartButtonX, kStartButtonY);
            started = session_->boardAfterChange(empty, 10s);
        }
        return *started;
    }
};

TEST_F(Kv5OnX11, WindowHasAClientAreaOf800x600)
{
    EXPECT_EQ(session_->window().width, 800);
    EXPECT_EQ(session_->window().height, 600);
}

// Every caption of the button column, fitted to its face with the substitute font, keeps some
// face free on either side: the dark pixels of its text stay clear of the button's edges.
TEST_F(Kv5OnX11, CaptionsKeepAMarginInsideTheirButtons)
{
    constexpr int kLeft = 635, kWidth = 130, kHeight = 22, kMargin = 7;
    const XwdImage screen = session_->screen();
    const WindowGeometry& window = session_->window();
    for (const int top : {295, 322, 349, 376, 403, 430, 457, 484, 538}) {
        int first = kWidth, last = -1;
        for (int x = 1; x < kWidth - 1; ++x)
            for (int y = 2; y < kHeight - 2; ++y)
                if (screen.at(window.x + kLeft + x, window.y + top + y).g < 120) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        ASSERT_GE(last, 0) << "no caption on the button at " << top;
        EXPECT_GE(first, kMargin) << "the caption of the button at " << top << " nears its left edge";
        EXPECT_LE(last, kWidth - 1 - kMargin)
            << "the caption of the button at " << top << " nears its right edge";
    }
}

// Opens a panel with its button, reads it and closes it again.
PanelOnScreen openAndClosePanel(Kv5Session& session, int buttonY, const PanelPlace& place)
{
    const BoardOnScreen board = session.board();
    EXPECT_TRUE(session.clickAt(kStartButtonX, buttonY));
    const PanelOnScreen panel = session.panel(place, 5s);
    const BoardOnScreen covered = session.board();
    EXPECT_TRUE(session.clickAt(kStartButtonX, buttonY));
    EXPECT_EQ(describe(session.boardAfterChange(covered, 5s)), describe(board));
    return panel;
}

TEST_F(Kv5OnX11, RulesPanelShowsItsLastLineWithoutScrollBars)
{
    const PanelOnScreen panel = openAndClosePanel(*session_, kRulesButtonY, kRulesPanel);
    SCOPED_TRACE(describe(panel));
    ASSERT_TRUE(panel.covered);
    EXPECT_TRUE(panel.rightEdgeClear);
    EXPECT_TRUE(panel.bottomEdgeClear);
    ASSERT_GE(panel.textBands.size(), 2u);
    // From the bottom: the short "Viel Vergnügen!", a blank line, the long line before it, and
    // below the last line the empty one the closing line break adds.
    const auto& last = panel.textBands.back();
    const auto& before = panel.textBands[panel.textBands.size() - 2];
    const int middle = kRulesPanel.left + kRulesPanel.width / 2;
    const int lineHeight = last.bottom - last.top + 1;
    EXPECT_LT(last.right, middle);
    EXPECT_GT(before.right, middle);
    EXPECT_GT(last.top - before.bottom, lineHeight);
    EXPECT_GE(panel.spaceBelowText, lineHeight / 2);
}

TEST_F(Kv5OnX11, InformationPanelShowsItsLinesWithoutScrollBars)
{
    const PanelOnScreen panel = openAndClosePanel(*session_, kInformationButtonY, kInformationPanel);
    SCOPED_TRACE(describe(panel));
    ASSERT_TRUE(panel.covered);
    EXPECT_TRUE(panel.rightEdgeClear);
    EXPECT_TRUE(panel.bottomEdgeClear);
    // "KARVELO" to "Brettspiel" at the top, three lines of credits at the foot.
    EXPECT_GE(panel.textBands.size(), 8u);
    EXPECT_GT(panel.spaceBelowText, 0);
}

TEST_F(Kv5OnX11, StartButtonPlacesThreeFields)
{
    const BoardOnScreen board = startedBoard();
    EXPECT_EQ(occupiedFields(board), 3) << describe(board);
    EXPECT_TRUE(fieldsThatAre(board, FieldLook::Blocked).empty()) << describe(board);
}

// A click, like a drop of a field onto itself, is a fruitless move: the fields stay and exactly
// three are added, or four when a random blocked field follows; a move that is counted twice
// adds more. A random colour wipe or a figure the new fields complete changes the old fields or
// takes new ones, and then another move gets a second chance.
void expectFruitlessMoves(Kv5Session& session, BoardOnScreen board, bool byDrag)
{
    std::string attempts;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::vector<int> filled = fieldsThatAre(board, FieldLook::Coloured);
        ASSERT_FALSE(filled.empty()) << "no plain coloured field to move:\n" << describe(board);
        const int moved = filled[attempt % filled.size()];
        ASSERT_TRUE(byDrag ? session.dragFieldOntoItself(moved) : session.clickField(moved));
        const BoardOnScreen after = session.boardAfterChange(board, 5s);
        attempts += "moved field " + std::to_string(moved) + " onto itself:\n" + describe(board) + "->\n" +
                    describe(after);
        const int blocked = newlyBlocked(board, after);
        const int added = occupiedFields(after) - occupiedFields(board);
        // A wipe of a colour that only new fields had keeps the old ones but takes new ones.
        if (oldFieldsKept(board, after) && added >= 3 + blocked) {
            EXPECT_LE(blocked, 1) << attempts;
            EXPECT_EQ(added, 3 + blocked) << attempts;
            return;
        }
        board = after;
    }
    ADD_FAILURE() << "every move was disturbed by a wipe or a figure\n" << attempts;
}

TEST_F(Kv5OnX11, ClickOnAFilledFieldAddsExactlyThreeFields)
{
    expectFruitlessMoves(*session_, startedBoard(), false);
}

TEST_F(Kv5OnX11, DropOfAFieldOntoItselfAddsExactlyThreeFields)
{
    startedBoard();
    expectFruitlessMoves(*session_, session_->board(), true);
}

// Moves a plain coloured field onto a free one with `move` until the board shows it moved and
// returns the field it went to. A move that happens to complete a figure clears the moved
// field, and a random wipe may take its colour: then another pair shows the move.
std::optional<int> moveAFieldOntoAFreeOne(Kv5Session& session,
                                          const std::function<bool(int from, int to)>& move)
{
    BoardOnScreen board = session.board();
    std::string attempts;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::vector<int> filled = fieldsThatAre(board, FieldLook::Coloured);
        const std::vector<int> free = fieldsThatAre(board, FieldLook::Free);
        if (filled.empty() || free.empty()) {
            ADD_FAILURE() << "no field to move or none to move it to:\n" << describe(board);
            return std::nullopt;
        }
        const int from = filled[attempt % filled.size()];
        const int to = free[(free.size() / 2 + 7 * attempt) % free.size()];
        if (!move(from, to)) {
            ADD_FAILURE() << "the input for a move from " << from << " to " << to << " failed";
            return std::nullopt;
        }
        const BoardOnScreen after = session.boardAfterChange(board, 5s);
        attempts += "moved " + std::to_string(from) + " to " + std::to_string(to) + ":\n" + describe(board) +
                    "->\n" + describe(after);
        if (after[from].look == FieldLook::Free && after[to] == board[from])
            return to;
        board = after;
    }
    ADD_FAILURE() << "no move took a field onto a free one\n" << attempts;
    return std::nullopt;
}

TEST_F(Kv5OnX11, DragMovesAFieldOntoAFreeOne)
{
    startedBoard();
    moveAFieldOntoAFreeOne(*session_, [](int from, int to) { return session_->dragField(from, to); });
}

// The keyboard cursor's ring on field `index`: black along the field's edge, white inside it.
bool cursorOn(const XwdImage& screen, const WindowGeometry& window, int index)
{
    const int left = window.x + fieldCentreX(index) - 31;
    const int y = window.y + fieldCentreY(index);
    return screen.at(left + 1, y) == Rgb{0, 0, 0} && screen.at(left + 3, y) == Rgb{255, 255, 255};
}

// Arrow keys from one field to another.
std::vector<std::string> arrowsFrom(int from, int to)
{
    std::vector<std::string> keys;
    for (int step = from % 9; step < to % 9; ++step)
        keys.push_back("Right");
    for (int step = from % 9; step > to % 9; --step)
        keys.push_back("Left");
    for (int step = from / 9; step < to / 9; ++step)
        keys.push_back("Down");
    for (int step = from / 9; step > to / 9; --step)
        keys.push_back("Up");
    return keys;
}

// Next to last: it leaves the keyboard cursor on the board for the last.
TEST_F(Kv5OnX11, KeyboardMovesAFieldOntoAFreeOne)
{
    startedBoard();
    constexpr int kCursorStart = 40;
    ASSERT_FALSE(cursorOn(session_->screen(), session_->window(), kCursorStart))
        << "the cursor shows before the keyboard was used";
    // Tab reaches the board within one round of the buttons, wherever the focus is.
    bool reached = false;
    for (int tab = 0; tab < 12 && !reached; ++tab) {
        ASSERT_TRUE(pressKeys({"Tab"}));
        for (int look = 0; look < 10 && !reached; ++look) {
            reached = cursorOn(session_->screen(), session_->window(), kCursorStart);
            std::this_thread::sleep_for(30ms);
        }
    }
    ASSERT_TRUE(reached) << "Tab never brought the cursor onto the board";

    int cursor = kCursorStart;
    const auto movedTo = moveAFieldOntoAFreeOne(*session_, [&cursor](int from, int to) {
        std::vector<std::string> keys = arrowsFrom(cursor, from);
        keys.push_back("space");
        const std::vector<std::string> onward = arrowsFrom(from, to);
        keys.insert(keys.end(), onward.begin(), onward.end());
        keys.push_back("Return");
        cursor = to;
        return pressKeys(keys);
    });
    ASSERT_TRUE(movedTo);
    EXPECT_TRUE(cursorOn(session_->screen(), session_->window(), *movedTo));
}

// The field the keyboard cursor is drawn on, if any.
std::optional<int> cursorField(const Kv5Session& session)
{
    const XwdImage screen = session.screen();
    for (int i = 0; i < 81; ++i)
        if (cursorOn(screen, session.window(), i))
            return i;
    return std::nullopt;
}

// After the keyboard move above: the cursor is drawn only while the board has the focus, and a
// move with the mouse hides it until the next key.
TEST_F(Kv5OnX11, CursorShowsOnlyWhileTheBoardHasTheFocus)
{
    const std::optional<int> start = cursorField(*session_);
    ASSERT_TRUE(start) << "the keyboard move left no cursor on the board";
    struct Step {
        const char* what;
        std::function<bool()> act;
        std::optional<int> cursor;
    };
    const auto aFilledField = [] {
        const std::vector<int> filled = fieldsThatAre(session_->board(), FieldLook::Coloured);
        return !filled.empty() && session_->clickField(filled.front());
    };
    const int left = *start % 9 > 0 ? *start - 1 : *start + 1;
    const Step steps[] = {
        {"Tab on to the first button", [] { return pressKeys({"Tab"}); }, std::nullopt},
        {"Shift+Tab back to the board", [] { return pressKeys({"shift+Tab"}); }, start},
        {"a click on a filled field", aFilledField, std::nullopt},
        {"an arrow key", [&] { return pressKeys({left < *start ? "Left" : "Right"}); }, left},
        {"Alt+A, Spiel abbrechen", [] { return pressKeys({"alt+a"}); }, std::nullopt},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(step.act());
        std::optional<int> seen = cursorField(*session_);
        for (int look = 0; look < 50 && seen != step.cursor; ++look) {
            std::this_thread::sleep_for(40ms);
            seen = cursorField(*session_);
        }
        EXPECT_EQ(seen, step.cursor);
    }
}

// The session has no sound server, and a game without one is silent by design: by now it has
// played its sounds through the sound module, and has nothing to say at all.
TEST_F(Kv5OnX11, SaysNothingAboutTheMissingSoundServer)
{
    EXPECT_EQ(session_->gameOutput(), "");
}

}  // namespace
}  // namespace kv::x11test
