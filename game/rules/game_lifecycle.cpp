#include "game/rules/game.h"

#include "game/rules/sounds.h"

namespace kv {

void Game::startGame()
{
    outside_.hidePanels();
    abortGame();
    random_.reseedFromClock();

    // abortGame left every field free, so three distinct indices suffice.
    int placed[3] = {-1, -1, -1};
    for (int n = 0; n < 3; ++n) {
        const auto entry = static_cast<PaletteIndex>(drawBelow(GameState::kColourSpan));
        int index = drawFieldIndex();
        while (index == placed[0] || index == placed[1])
            index = drawFieldIndex();
        placed[n] = index;
        fillField(index, entry);
    }

    playSound(Sound::FieldsPlaced, SoundFlags::Async);
    outside_.hideStartButton();
}

void Game::abortGame()
{
    // Whatever was under way belongs to the old game from now on.
    ++generation_;

    outside_.hidePanels();
    for (int i = 0; i < kFieldCount; ++i) {
        board_.clearField(i);
        board_.setEnabled(i, true);
        outside_.fieldChanged(i);
    }
    state_.score = 0;
    outside_.showScore(0);
    outside_.showStartButton();
}

void Game::endGame()
{
    playSound(Sound::GameOver, SoundFlags::Wait);
    setAllEnabled(false);
    if (state_.score > state_.lowestHighscore)
        outside_.enterHighscore(state_.score);
}

}  // namespace kv
