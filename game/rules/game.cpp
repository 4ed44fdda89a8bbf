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

void Game::PlaySound(std::string_view file, SoundFlags flags)
{
    if (state_.SoundOn)
        outside_.playSound(file, flags);
}

void Game::FillField(int index, PaletteIndex entry)
{
    board_.FillField(index, entry);
    outside_.fieldChanged(index);
}

void Game::ClearField(int index)
{
    board_.ClearField(index);
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
    Spalten();
    if (state_.ColumnHitFlag)
        return true;
    Zeilen();
    if (state_.RowHitFlag)
        return true;
    Diagonalen();
    if (state_.DiagonalHitFlag)
        return true;
    QuadrateOben();
    if (state_.UpperSquareHitFlag)
        return true;
    QuadrateUnten();
    return state_.LowerSquareHitFlag;
}

bool Game::runAllDetectors()
{
    const auto generation = generation_;
    void (Game::*const detectors[])() = {&Game::Spalten, &Game::Zeilen, &Game::Diagonalen,
                                         &Game::QuadrateOben, &Game::QuadrateUnten};
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
