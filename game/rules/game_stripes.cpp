#include "game/rules/game.h"

#include "game/rules/figure_search.h"

namespace kv {

// Each detector dissolves and scores at most the first stripe in its scan
// order; the flag tells the move whether it did.

template <std::size_t N>
bool Game::detectStripe(const LineSet<N>& lines, void (Game::*clear)(int first), HitFlag hit)
{
    const int first = findStripe(board_.values(), lines);
    if (first < 0)
        return false;
    (this->*clear)(first);
    scoreStripe(hit);
    return true;
}

void Game::detectColumns()
{
    state_.columnHit = false;
    detectStripe(kColumnLines, &Game::clearColumn, &GameState::columnHit);
}

void Game::detectRows()
{
    state_.rowHit = false;
    detectStripe(kRowLines, &Game::clearRow, &GameState::rowHit);
}

void Game::detectDiagonals()
{
    state_.diagonalHit = false;
    // Every line falling to the right comes before any falling to the left.
    if (!detectStripe(kDiagonalLines, &Game::clearDiagonal, &GameState::diagonalHit))
        detectStripe(kAntiDiagonalLines, &Game::clearAntiDiagonal, &GameState::diagonalHit);
}

}  // namespace kv
