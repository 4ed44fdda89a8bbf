#include "game/rules/game.h"

#include "game/rules/figure_search.h"

namespace kv {

// Blocks are split by their top row: rows 0 to 3 above, 4 to 6 below.

void Game::detectSquare(int firstBlock, int endBlock, HitFlag hit)
{
    state_.*hit = false;
    const int first = findSquare(board_.values(), firstBlock, endBlock);
    if (first < 0)
        return;
    clearSquare(first);
    scoreSquare(hit);
}

void Game::detectUpperSquares()
{
    detectSquare(0, kFirstLowerBlock, &GameState::upperSquareHit);
}

void Game::detectLowerSquares()
{
    detectSquare(kFirstLowerBlock, static_cast<int>(kSquareBlocks.starts.size()), &GameState::lowerSquareHit);
}

}  // namespace kv
