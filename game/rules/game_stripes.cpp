#include "rules/game.h"

#include "rules/figure_search.h"

namespace kv {

// Each detector dissolves and scores at most the first stripe in its scan
// order; the flag tells the move whether it did.

void Game::detectColumns()
{
    state_.columnHit = false;
    const int first = findStripe(board_.values(), kColumnLines);
    if (first < 0)
        return;
    clearColumn(first);
    scoreColumn();
}

void Game::detectRows()
{
    state_.rowHit = false;
    const int first = findStripe(board_.values(), kRowLines);
    if (first < 0)
        return;
    clearRow(first);
    scoreRow();
}

void Game::detectDiagonals()
{
    state_.diagonalHit = false;
    // Every line falling to the right comes before any falling to the left.
    if (const int first = findStripe(board_.values(), kDiagonalLines); first >= 0) {
        clearDiagonal(first);
        scoreDiagonal();
        return;
    }
    if (const int first = findStripe(board_.values(), kAntiDiagonalLines); first >= 0) {
        clearAntiDiagonal(first);
        scoreDiagonal();
    }
}

void Game::scoreColumn()
{
    scoreStripe();
    state_.columnHit = true;
}

void Game::scoreRow()
{
    scoreStripe();
    state_.rowHit = true;
}

void Game::scoreDiagonal()
{
    scoreStripe();
    state_.diagonalHit = true;
}

} // namespace kv
