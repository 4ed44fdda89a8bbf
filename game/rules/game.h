#pragma once

#include "rules/board.h"
#include "rules/game_outside.h"
#include "rules/random_source.h"

#include <cstdint>
#include <string_view>

namespace kv {

struct GameState {
    static constexpr std::int16_t StripePoints = 4;
    static constexpr std::int16_t SquarePoints = 17;
    // Multiplier for a new field's palette index: 0 to 6 equally likely,
    // the joker (7) only for r >= 7 / 7.18.
    static constexpr double ColourSpan = 7.18;

    std::int16_t Score = 0;
    bool ColumnHitFlag = false;
    bool RowHitFlag = false;
    bool DiagonalHitFlag = false;
    bool UpperSquareHitFlag = false;
    bool LowerSquareHitFlag = false;
    bool GameOver = false;
    bool SoundOn = true;
    // Set by the window from the highscore file; a result must exceed it.
    std::int16_t LowestHighscore = 0;
};

// The rules of one board: start, abort and end of a game, moves, new
// fields, the detectors, scoring and the random events.
//
// Re-entry: scoring a hit calls GameOutside::regrowTree, which may run
// pending window events, and so tmrTimer_Timer, AbortGame, StartGame or
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
    void StartGame();
    // The abort button; also the first step of a start.
    void AbortGame();
    // A dragged field `Source` was dropped on field `Index`. The view starts
    // drags only on draggable, enabled fields. Drops with an index off the
    // board, on or from a disabled field, or during another move are ignored.
    void picP_DragDrop(int Index, int Source);
    // The flash timer fired.
    void tmrTimer_Timer();
    // A drop is being handled, with the end of the game it may bring; drops meanwhile are
    // ignored, so the view starts no drag either.
    bool moveInProgress() const { return moveInProgress_; }

    // The procedures the move is made of, callable one by one.
    void Neufelder();
    void Spalten();
    void Zeilen();
    void Diagonalen();
    void QuadrateOben();
    void QuadrateUnten();
    void RandomColourWipe();
    void ColourWipe();
    void RandomBlockedField();

    // Forwards to the outside unless sound is switched off.
    void PlaySound(std::string_view file, SoundFlags flags);

private:
    // Field changes that the view has to repaint.
    void FillField(int index, PaletteIndex entry);
    void ClearField(int index);
    void setAllEnabled(bool enabled);

    void EndGame();
    // Stops at the first detector that scores; true if one did.
    bool runDetectorsUntilHit();
    // Every detector once; false if the game changed under it.
    bool runAllDetectors();
    void wipe(PaletteIndex entry);

    void SpaltenTreffer();
    void ZeilenTreffer();
    void DiagonalenTreffer();
    void QuadrateObenTreffer();
    void QuadrateUntenTreffer();
    void Treffer5er();
    void Treffer9er();
    void addPoints(std::int16_t points);

    void ClearColumn(int first);
    void ClearRow(int first);
    void ClearDiagonal(int first);
    void ClearAntiDiagonal(int first);
    void ClearSquare(int first);

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

} // namespace kv
