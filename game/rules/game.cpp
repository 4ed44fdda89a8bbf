#include "game/rules/game.h"

#include <algorithm>
#include <cmath>

#include "game/rules/rounding.h"

namespace kv {

Game::Game(GameOutside& outside, RandomSource& random) : outside_(outside), random_(random)
{
    // The board starts all free, enabled and not draggable, so nothing can
    // be dragged before the first start.
}

void Game::playSound(Sound sound, SoundFlags flags)
{
    if (state_.soundOn)
        outside_.playSound(sound, flags);
}

void Game::fillField(int index, PaletteIndex entry)
{
    board_.fillField(index, entry);
    outside_.fieldChanged(index);
}

void Game::clearField(int index)
{
    board_.clearField(index);
    outside_.fieldChanged(index);
}

void Game::setAllEnabled(bool enabled)
{
    for (int i = 0; i < kFieldCount; ++i) {
        board_.setEnabled(i, enabled);
        outside_.fieldChanged(i);
    }
}

namespace {

// The detectors in the order a move runs them, each with the flag it sets when it scores.
struct Detector {
    void (Game::*detect)();
    bool GameState::*hit;
};

constexpr Detector kDetectors[] = {
    {&Game::detectColumns, &GameState::columnHit},
    {&Game::detectRows, &GameState::rowHit},
    {&Game::detectDiagonals, &GameState::diagonalHit},
    {&Game::detectUpperSquares, &GameState::upperSquareHit},
    {&Game::detectLowerSquares, &GameState::lowerSquareHit},
};

}  // namespace

bool Game::runDetectorsUntilHit()
{
    for (const Detector& detector : kDetectors) {
        (this->*detector.detect)();
        if (state_.*detector.hit)
            return true;
    }
    return false;
}

bool Game::runAllDetectors()
{
    const auto generation = generation_;
    for (const Detector& detector : kDetectors) {
        (this->*detector.detect)();
        if (!sameGeneration(generation))
            return false;
    }
    return true;
}

int Game::drawBelow(double span)
{
    const int drawn = static_cast<int>(std::floor(random_.next() * span));
    // A source that breaks its 0 <= r < 1 promise must not reach past the
    // board or the palette.
    return std::clamp(drawn, 0, static_cast<int>(std::ceil(span)) - 1);
}

int Game::drawFreeFieldIndex()
{
    int index = drawFieldIndex();
    while (!board_.isFree(index))
        index = drawFieldIndex();
    return index;
}

bool Game::drawChanceAbove(double factor, int threshold)
{
    return roundToFourPlaces(random_.next() * factor) > std::int64_t{threshold} * 10000;
}

}  // namespace kv
