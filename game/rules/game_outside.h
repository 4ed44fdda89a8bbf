#pragma once

#include <cstdint>

#include "game/rules/sounds.h"

namespace kv {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum class SoundFlags : int {
    Wait = 0,   // return only when the sound has finished
    Async = 1,  // start the sound and return at once
};

// Everything the rules need from the window around them. The main window
// implements it; tests implement it as a recorder. All calls come on the
// window's thread, from inside a rules operation.
class GameOutside {
public:
    virtual ~GameOutside() = default;

    // Only called while sound is on; failures are silent.
    virtual void playSound(Sound sound, SoundFlags flags) = 0;

    // Clears the tree canvas and grows a new tree. In the middle it may let
    // pending window events run once, so the flash timer, abortGame, a start,
    // button clicks and even another drop can re-enter the game from here.
    virtual void regrowTree() = 0;

    // Switching it on while it already runs may restart the 400 ms.
    virtual void setFlashTimer(bool on) = 0;

    // Background of the main window and of the title label.
    virtual void setFlashBackground(Rgb colour) = 0;

    // The bevel frame along the window's edges, which a background change
    // erases.
    virtual void drawFrame() = 0;

    // Writes the score as plain decimal text into the score label.
    virtual void showScore(int score) = 0;

    virtual void showStartButton() = 0;  // and gives it the keyboard focus
    virtual void hideStartButton() = 0;

    // Hides the rules panel and the information panel.
    virtual void hidePanels() = 0;

    // Picture, code, draggable or enabled of field `index` changed.
    virtual void fieldChanged(int index) = 0;

    // A finished game beat the lowest highscore: write `score` into the
    // hidden points cell of the table and show the name entry, not modal.
    virtual void enterHighscore(int score) = 0;
};

}  // namespace kv
