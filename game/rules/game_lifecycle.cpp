#include "rules/game.h"

#include "rules/sounds.h"

namespace kv {

void Game::StartGame()
{
    outside_.hidePanels();
    AbortGame();
    random_.reseedFromClock();

    // AbortGame left every field free, so three distinct indices suffice.
    int placed[3] = {-1, -1, -1};
    for (int n = 0; n < 3; ++n) {
        const auto entry = static_cast<PaletteIndex>(drawBelow(GameState::ColourSpan));
        int index = drawFieldIndex();
        while (index == placed[0] || index == placed[1])
            index = drawFieldIndex();
        placed[n] = index;
        FillField(index, entry);
    }

    PlaySound(kSoundFieldsPlaced, SoundFlags::Async);
    outside_.hideStartButton();
}

void Game::AbortGame()
{
    // Whatever was under way belongs to the old game from now on.
    ++generation_;

    outside_.hidePanels();
    for (int i = 0; i < kFieldCount; ++i) {
        board_.ClearField(i);
        board_.setEnabled(i, true);
        outside_.fieldChanged(i);
    }
    state_.Score = 0;
    outside_.showScore(0);
    outside_.showStartButton();
}

void Game::EndGame()
{
    PlaySound(kSoundGameOver, SoundFlags::Wait);
    setAllEnabled(false);
    if (state_.Score > state_.LowestHighscore)
        outside_.enterHighscore(state_.Score);
}

} // namespace kv
