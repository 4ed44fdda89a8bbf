#include "rules/game.h"

#include <algorithm>
#include <limits>

#include "rules/sounds.h"

namespace kv {

void Game::ClearColumn(int first)
{
    for (int n = 0; n < 5; ++n)
        ClearField(first + 9 * n);
}

void Game::ClearRow(int first)
{
    for (int n = 0; n < 5; ++n)
        ClearField(first + n);
}

void Game::ClearDiagonal(int first)
{
    for (int n = 0; n < 5; ++n)
        ClearField(first + 10 * n);
}

void Game::ClearAntiDiagonal(int first)
{
    for (int n = 0; n < 5; ++n)
        ClearField(first + 8 * n);
}

void Game::ClearSquare(int first)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            ClearField(first + 9 * row + column);
}

void Game::Treffer5er()
{
    const auto generation = generation_;
    PlaySound(kSoundStripe, SoundFlags::Async);
    outside_.regrowTree();
    // An abort or start during the tree's yield ended the game this stripe
    // was made in; its points must not count for the new one.
    if (!sameGeneration(generation))
        return;
    addPoints(GameState::StripePoints);
}

void Game::Treffer9er()
{
    const auto generation = generation_;
    // Disabled, the board takes no drag while the tree yields.
    setAllEnabled(false);
    PlaySound(kSoundSquare, SoundFlags::Async);
    outside_.regrowTree();
    // After an abort or start during the yield the board is the new game's,
    // already enabled: neither the points nor the wipe belong to it.
    if (!sameGeneration(generation))
        return;
    addPoints(GameState::SquarePoints);
    ColourWipe();
    setAllEnabled(true);
}

void Game::addPoints(std::int16_t points)
{
    // The highscore file stores 16-bit points, so the score holds at the
    // largest of them instead of wrapping to a negative number.
    constexpr int kMaxScore = std::numeric_limits<std::int16_t>::max();
    state_.Score = static_cast<std::int16_t>(std::min(kMaxScore, state_.Score + points));
    outside_.showScore(state_.Score);
}

} // namespace kv
