#pragma once

#include "tests/game/rules/draws.h"
#include "game/rules/board.h"
#include "game/rules/game.h"
#include "game/rules/game_outside.h"
#include "game/rules/random_source.h"

#include <array>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kv::test {

// Hands out the given numbers in order and notes every draw ('d') and
// re-seed ('S') in one trace. Running dry fails the test and throws, so a
// redraw loop cannot spin forever on a made-up number.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> numbers) : numbers_(numbers) {}

    void add(std::initializer_list<double> numbers);
    double next() override;
    void reseedFromClock() override { trace_ += 'S'; }

    std::size_t remaining() const { return numbers_.size(); }
    const std::string& trace() const { return trace_; }

private:
    std::deque<double> numbers_;
    std::string trace_;
};

// The outside calls a test expects, in order.
using Strings = std::vector<std::string>;

// Logs every call in order, e.g. "sound stripe", "sound over wait", "tree",
// "field 40". Field repaints can be left out of the log to keep the
// expected sequences readable.
class RecordingOutside : public GameOutside {
public:
    bool logFields = false;
    std::function<void()> onRegrowTree;  // runs in the tree's yield

    void playSound(Sound sound, SoundFlags flags) override;
    void regrowTree() override;
    void setFlashTimer(bool on) override;
    void setFlashBackground(Rgb c) override;
    void drawFrame() override { log.push_back("frame"); }
    void showScore(int score) override;
    void showStartButton() override;
    void hideStartButton() override;
    void hidePanels() override;
    void fieldChanged(int index) override;
    void enterHighscore(int score) override { log.push_back("highscore " + std::to_string(score)); }

    std::vector<std::string> log;

    // What the window shows after the calls so far, for tests that look at the result rather
    // than at the order of the calls.
    struct View {
        int score = -1;            // the score label; -1 while never written
        bool startButton = false;  // shown; hidden as while a game runs
        bool panelsOpen = true;    // until hidden
        bool flashing = false;     // the flash timer runs
        int trees = 0;             // regrowths
        Strings sounds;            // e.g. "stripe", "over wait"
    } view;
};

// A board as nine rows of nine characters: '.' free, '0'-'6' a colour,
// 'J' joker, 'X' blocked, '*' marked. Anything inconsistent reads as '?'.
// As text, the rows follow each other, each ended by '\n'.
using BoardRows = std::array<std::string_view, kBoardSide>;
void setBoard(Board& board, std::string_view text);
std::string boardText(const Board& board);
std::string rowsText(const BoardRows& rows);

// A full board without any stripe or square: no two neighbours in a row,
// column or diagonal share a colour.
std::string chequer();
// Changes one field of a board text.
void put(std::string& text, int field, char c);

// A game on an arranged board, with enabled, draggable fields as a running
// game has them.
struct Table {
    ScriptedRandom random;
    RecordingOutside outside;
    Game game{outside, random};

    void arrange(const BoardRows& rows) { setBoard(game.board(), rowsText(rows)); }
    void arrange(std::string_view text) { setBoard(game.board(), text); }
    std::string board() const { return boardText(game.board()); }
};

}  // namespace kv::test
