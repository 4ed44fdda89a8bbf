#include "rules/game.h"

#include "rules/figure_search.h"

namespace kv {

// Blocks are split by their top row: rows 0 to 3 above, 4 to 6 below.

void Game::QuadrateOben()
{
    state_.UpperSquareHitFlag = false;
    const int first = findSquare(board_.values(), 0, kFirstLowerBlock);
    if (first < 0)
        return;
    ClearSquare(first);
    QuadrateObenTreffer();
}

void Game::QuadrateUnten()
{
    state_.LowerSquareHitFlag = false;
    const int first = findSquare(board_.values(), kFirstLowerBlock,
                                 static_cast<int>(kSquareBlocks.starts.size()));
    if (first < 0)
        return;
    ClearSquare(first);
    QuadrateUntenTreffer();
}

void Game::QuadrateObenTreffer()
{
    Treffer9er();
    state_.UpperSquareHitFlag = true;
}

void Game::QuadrateUntenTreffer()
{
    Treffer9er();
    state_.LowerSquareHitFlag = true;
}

} // namespace kv
