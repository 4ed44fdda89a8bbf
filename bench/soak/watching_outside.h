// The window around a soaked game: it shows nothing, but it watches every call the rules make
// and checks each hit, wipe, score change and the end against the board at that moment.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/rules/game.h"
#include "game/rules/game_outside.h"
#include "bench/soak/board_checks.h"

namespace kv::soak {

// What the watched games have seen, summed over all of them.
struct SoakCounts {
    long stripes = 0;
    long squares = 0;
    long wipes = 0;
    long blockedFields = 0;
    long cappedHits = 0;  // hits whose points the score limit cut
    long highscoreEntries = 0;
};

class WatchingOutside : public GameOutside {
public:
    // Every fault found is appended to `faults` as one line, prefixed by the current place.
    explicit WatchingOutside(std::vector<std::string>& faults) : faults_(faults) {}

    // The game whose board is watched; set before the game is first started.
    void watch(const Game& game) { game_ = &game; }
    // Where faults found from now on happen, e.g. "game 12, move 30".
    void setPlace(std::string place) { place_ = std::move(place); }

    // Around the start button: the watch begins afresh from the new game's board and score.
    void gameStarting() { starting_ = true; }
    void gameStarted();
    // Around one drop: the board, the score and the end are checked before and after it.
    void moveStarting();
    void moveDone();
    // After the flash timer fired: it cleared exactly the marked fields.
    void timerFired();

    bool gameEnded() const { return ended_; }
    bool flashPending() const { return timerOn_; }
    // Every call of the outside so far; a game that is over must make none.
    long calls() const { return calls_; }
    const SoakCounts& counts() const { return counts_; }

    void playSound(Sound sound, SoundFlags flags) override;
    void regrowTree() override { ++calls_; }
    void setFlashTimer(bool on) override;
    void setFlashBackground(Rgb) override { ++calls_; }
    void drawFrame() override { ++calls_; }
    void showScore(int score) override;
    void showStartButton() override { ++calls_; }
    void hideStartButton() override { ++calls_; }
    void hidePanels() override { ++calls_; }
    void fieldChanged(int index) override;
    void enterHighscore(int score) override;

private:
    void fault(const std::string& what);
    void hitSounded(const std::optional<std::string>& shapeFault, int points);
    void wipeDone();
    void endReached();
    void checkBoard();

    const Game* game_ = nullptr;
    std::vector<std::string>& faults_;
    std::string place_;
    SoakCounts counts_;
    long calls_ = 0;

    // The board as the rules last reported it, field by field.
    std::array<Field, kFieldCount> seen_{};
    // Fields emptied since the last hit, which the next hit must account for.
    std::vector<ClearedField> cleared_;
    // Filled fields a wipe has marked, with what they showed before.
    std::vector<ClearedField> marked_;
    int score_ = 0;
    int pendingPoints_ = 0;  // a hit's sound has played, its points are due
    bool wipeDue_ = false;   // a square has scored, its colour wipe is due
    bool starting_ = false;
    bool timerOn_ = false;
    bool ended_ = false;
    int highscoreCalls_ = 0;
    std::vector<int> blocked_;  // the blocked fields of this game, which must stay
};

}  // namespace kv::soak
