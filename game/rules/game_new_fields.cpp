#include "game/rules/game.h"

#include "game/rules/sounds.h"

namespace kv {

void Game::placeNewFields()
{
    state_.gameOver = false;

    for (int n = 0; n < 3; ++n) {
        if (!board_.hasFreeField())
            continue;
        // The colour is drawn before the place.
        const auto entry = static_cast<PaletteIndex>(drawBelow(GameState::kColourSpan));
        fillField(drawFreeFieldIndex(), entry);
    }

    if (board_.hasFreeField()) {
        playSound(Sound::FieldsPlaced, SoundFlags::Async);
        return;
    }

    // A full board gets three complete passes before it counts as lost.
    for (int pass = 0; pass < 3; ++pass) {
        if (!runAllDetectors())
            return;  // a new game began during a hit; this one is gone
    }
    if (board_.hasFreeField())
        return;

    endGame();
    state_.gameOver = true;
}

}  // namespace kv
