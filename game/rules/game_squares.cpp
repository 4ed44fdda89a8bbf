#include "rules/game.h"

#include "rules/figure_search.h"

namespace kv {

// Blocks are split by their top row: rows 0 to 3 above, 4 to 6 below.

void Game::detectUpperSquares()
{
    state_.upperSquareHit = false;
    const int first = findSquare(board_.values(), 0, kFirstLowerBlock);
    if (first < 0)
        return;
    clearSquare(first);
    scoreUpperSquare();
}

void Game::detectLowerSquares()
{
    state_.lowerSquareHit = false;
    const int first = findSquare(board_.values(), kFirstLowerBlock,
                                 static_cast<int>(kSquareBlocks.starts.size()));
    if (first < 0)
        return;
    clearSquare(first);
    scoreLowerSquare();
}

void Game::scoreUpperSquare()
{
    scoreSquare();
    state_.upperSquareHit = true;
}

void Game::scoreLowerSquare()
{
    scoreSquare();
    state_.lowerSquareHit = true;
}

} // namespace kv
