#include "game/rules/game.h"

#include <algorithm>
#include <limits>

#include "game/rules/sounds.h"

namespace kv {

void Game::clearColumn(int first)
{
    for (int n = 0; n < 5; ++n)
        clearField(first + 9 * n);
}

void Game::clearRow(int first)
{
    for (int n = 0; n < 5; ++n)
        clearField(first + n);
}

void Game::clearDiagonal(int first)
{
    for (int n = 0; n < 5; ++n)
        clearField(first + 10 * n);
}

void Game::clearAntiDiagonal(int first)
{
    for (int n = 0; n < 5; ++n)
        clearField(first + 8 * n);
}

void Game::clearSquare(int first)
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            clearField(first + 9 * row + column);
}

void Game::scoreStripe(HitFlag hit)
{
    const auto generation = generation_;
    playSound(Sound::Stripe, SoundFlags::Async);
    outside_.regrowTree();
    // An abort or start during the tree's yield ended the game this stripe
    // was made in; its points must not count for the new one.
    if (sameGeneration(generation))
        addPoints(GameState::kStripePoints);
    state_.*hit = true;
}

void Game::scoreSquare(HitFlag hit)
{
    const auto generation = generation_;
    // Disabled, the board takes no drag while the tree yields.
    setAllEnabled(false);
    playSound(Sound::Square, SoundFlags::Async);
    outside_.regrowTree();
    // After an abort or start during the yield the board is the new game's,
    // already enabled: neither the points nor the wipe belong to it.
    if (sameGeneration(generation)) {
        addPoints(GameState::kSquarePoints);
        colourWipe();
        setAllEnabled(true);
    }
    state_.*hit = true;
}

void Game::addPoints(std::int16_t points)
{
    // The highscore file stores 16-bit points, so the score holds at the
    // largest of them instead of wrapping to a negative number.
    constexpr int kMaxScore = std::numeric_limits<std::int16_t>::max();
    state_.score = static_cast<std::int16_t>(std::min(kMaxScore, state_.score + points));
    outside_.showScore(state_.score);
}

}  // namespace kv
