#include "rules/game.h"

#include <algorithm>
#include <cmath>

#include "rules/rounding.h"

namespace kv {

Game::Game(GameOutside& outside, RandomSource& random)
    : outside_(outside), random_(random)
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

bool Game::runDetectorsUntilHit()
{
    detectColumns();
    if (state_.columnHit)
        return true;
    detectRows();
    if (state_.rowHit)
        return true;
    detectDiagonals();
    if (state_.diagonalHit)
        return true;
    detectUpperSquares();
    if (state_.upperSquareHit)
        return true;
    detectLowerSquares();
    return state_.lowerSquareHit;
}

bool Game::runAllDetectors()
{
    const auto generation = generation_;
    void (Game::*const detectors[])() = {&Game::detectColumns, &Game::detectRows, &Game::detectDiagonals,
                                         &Game::detectUpperSquares, &Game::detectLowerSquares};
    for (auto detector : detectors) {
        (this->*detector)();
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

} // namespace kv
