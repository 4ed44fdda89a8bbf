#pragma once

#include "game/rules/board.h"
#include "game/rules/game_outside.h"
#include "game/rules/random_source.h"

#include <cstddef>
#include <cstdint>

namespace kv {

template <std::size_t N>
struct LineSet;

struct GameState {
    static constexpr std::int16_t kStripePoints = 4;
    static constexpr std::int16_t kSquarePoints = 17;
    // Multiplier for a new field's palette index: 0 to 6 equally likely,
    // the joker (7) only for r >= 7 / 7.18.
    static constexpr double kColourSpan = 7.18;

    std::int16_t score = 0;
    bool columnHit = false;
    bool rowHit = false;
    bool diagonalHit = false;
    bool upperSquareHit = false;
    bool lowerSquareHit = false;
    bool gameOver = false;
    bool soundOn = true;
    // Set by the window from the highscore file; a result must exceed it.
    std::int16_t lowestHighscore = 0;
};

// The rules of one board: start, abort and end of a game, moves, new
// fields, the detectors, scoring and the random events.
//
// Re-entry: scoring a hit calls GameOutside::regrowTree, which may run
// pending window events, and so flashTick, abortGame, startGame or
// another drop, in the middle of a move. The rules stay sound because
//  - a drop that arrives while a move is being handled is ignored;
//  - every abort (and so every start) begins a new game generation, and a
//    move or a hit whose generation has passed stops right after the yield:
//    its points, its colour wipe and the rest of the move never reach the
//    new game;
//  - nothing else yields, so re-entry is at most one level deep.
class Game {
public:
    Game(GameOutside& outside, RandomSource& random);

    const Board& board() const { return board_; }
    // Writable so that a position can be arranged, e.g. by tests.
    Board& board() { return board_; }
    const GameState& state() const { return state_; }
    GameState& state() { return state_; }

    // The start button.
    void startGame();
    // The abort button; also the first step of a start.
    void abortGame();
    // A dragged field `source` was dropped on field `target`. The view starts
    // drags only on draggable, enabled fields. Drops with an index off the
    // board, on or from a disabled field, or during another move are ignored.
    void dropField(int target, int source);
    // The flash timer fired.
    void flashTick();
    // A drop is being handled, with the end of the game it may bring; drops meanwhile are
    // ignored, so the view starts no drag either.
    bool moveInProgress() const { return moveInProgress_; }

    // The procedures the move is made of, callable one by one.
    void placeNewFields();
    void detectColumns();
    void detectRows();
    void detectDiagonals();
    void detectUpperSquares();
    void detectLowerSquares();
    void randomColourWipe();
    void colourWipe();
    void randomBlockedField();

    // Forwards to the outside unless sound is switched off.
    void playSound(Sound sound, SoundFlags flags);

private:
    // Field changes that the view has to repaint.
    void fillField(int index, PaletteIndex entry);
    void clearField(int index);
    void setAllEnabled(bool enabled);

    void endGame();
    // Stops at the first detector that scores; true if one did.
    bool runDetectorsUntilHit();
    // Every detector once; false if the game changed under it.
    bool runAllDetectors();
    void wipe(PaletteIndex entry);

    // Which detector hit: the flag it sets in the state.
    using HitFlag = bool GameState::*;
    // Dissolves and scores the first stripe of `lines` (`clear` knows their geometry); true if
    // there was one.
    template <std::size_t N>
    bool detectStripe(const LineSet<N>& lines, void (Game::*clear)(int first), HitFlag hit);
    void detectSquare(int firstBlock, int endBlock, HitFlag hit);
    // The points, and then the flag: the flag is set even when a game begun during the
    // tree's yield took the points away, so the move that made the figure ends there.
    void scoreStripe(HitFlag hit);
    void scoreSquare(HitFlag hit);
    void addPoints(std::int16_t points);

    void clearColumn(int first);
    void clearRow(int first);
    void clearDiagonal(int first);
    void clearAntiDiagonal(int first);
    void clearSquare(int first);

    int drawBelow(double span);
    int drawFieldIndex() { return drawBelow(kFieldCount); }
    // Redraws until it hits a free field; the caller makes sure one exists.
    int drawFreeFieldIndex();
    bool drawChanceAbove(double factor, int threshold);

    bool sameGeneration(std::uint64_t generation) const { return generation_ == generation; }

    GameOutside& outside_;
    RandomSource& random_;
    Board board_;
    GameState state_;
    std::uint64_t generation_ = 0;
    bool moveInProgress_ = false;
};

}  // namespace kv
