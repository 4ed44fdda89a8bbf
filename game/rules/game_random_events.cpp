#include "game/rules/game.h"

#include "game/rules/sounds.h"

namespace kv {
namespace {

constexpr Rgb kFlashBackground{240, 240, 70};
constexpr Rgb kCalmBackground{0, 127, 0};
constexpr int kWipeEntries = 8;  // the seven colours and the joker

}  // namespace

void Game::randomColourWipe()
{
    random_.reseedFromClock();
    const bool happens = drawChanceAbove(7.1, 7);
    // The colour is drawn whether or not the wipe happens.
    const auto entry = static_cast<PaletteIndex>(drawBelow(kWipeEntries));
    if (happens)
        wipe(entry);
}

void Game::colourWipe()
{
    random_.reseedFromClock();
    wipe(static_cast<PaletteIndex>(drawBelow(kWipeEntries)));
}

void Game::wipe(PaletteIndex entry)
{
    outside_.setFlashBackground(kFlashBackground);
    for (int i = 0; i < kFieldCount; ++i) {
        if (board_.field(i).picture == entry)
            board_.setCode(i, FieldCode(kMarkedCode));
    }
    // Fields an earlier wipe marked show the flash picture as well, and the
    // one timer event will clear them all.
    for (int i = 0; i < kFieldCount; ++i) {
        if (board_.field(i).code == kMarkedCode) {
            board_.setPicture(i, kFlashEntry);
            outside_.fieldChanged(i);
        }
    }
    outside_.setFlashTimer(true);
}

void Game::flashTick()
{
    for (int i = 0; i < kFieldCount; ++i) {
        if (board_.field(i).code == kMarkedCode)
            clearField(i);
    }
    outside_.setFlashBackground(kCalmBackground);
    outside_.drawFrame();
    outside_.setFlashTimer(false);
}

void Game::randomBlockedField()
{
    random_.reseedFromClock();
    const bool happens = drawChanceAbove(9.36, 9);
    // The first place is drawn whether or not a field is blocked.
    int index = drawFieldIndex();
    if (!happens)
        return;
    // A move only gets here with a free field left; should the board be full
    // all the same, there is simply nowhere to block.
    if (!board_.hasFreeField())
        return;
    while (!board_.isFree(index))
        index = drawFieldIndex();

    board_.setPicture(index, kBlockedEntry);
    board_.setCode(index, FieldCode(kBlockedCode));
    board_.setDraggable(index, false);
    outside_.fieldChanged(index);
    playSound(Sound::BlockedField, SoundFlags::Wait);
}

}  // namespace kv
