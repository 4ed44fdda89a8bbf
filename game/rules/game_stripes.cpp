#include "rules/game.h"

#include "rules/figure_search.h"

namespace kv {

// Each detector dissolves and scores at most the first stripe in its scan
// order; the flag tells the move whether it did.

void Game::Spalten()
{
    state_.ColumnHitFlag = false;
    const int first = findStripe(board_.values(), kColumnLines);
    if (first < 0)
        return;
    ClearColumn(first);
    SpaltenTreffer();
}

void Game::Zeilen()
{
    state_.RowHitFlag = false;
    const int first = findStripe(board_.values(), kRowLines);
    if (first < 0)
        return;
    ClearRow(first);
    ZeilenTreffer();
}

void Game::Diagonalen()
{
    state_.DiagonalHitFlag = false;
    // Every line falling to the right comes before any falling to the left.
    if (const int first = findStripe(board_.values(), kDiagonalLines); first >= 0) {
        ClearDiagonal(first);
        DiagonalenTreffer();
        return;
    }
    if (const int first = findStripe(board_.values(), kAntiDiagonalLines); first >= 0) {
        ClearAntiDiagonal(first);
        DiagonalenTreffer();
    }
}

void Game::SpaltenTreffer()
{
    Treffer5er();
    state_.ColumnHitFlag = true;
}

void Game::ZeilenTreffer()
{
    Treffer5er();
    state_.RowHitFlag = true;
}

void Game::DiagonalenTreffer()
{
    Treffer5er();
    state_.DiagonalHitFlag = true;
}

} // namespace kv
