// How the rules reach the main window: sound, tree, flash timer and colours, frame, score, start
// button, panels, board fields and the name entry.
#pragma once

#include "game/rules/game_outside.h"

namespace kv {

class MainWindow;

class MainWindowOutside final : public GameOutside {
public:
    explicit MainWindowOutside(MainWindow& window) : window_(window) {}

    void playSound(Sound sound, SoundFlags flags) override;
    // The one place the game lets pending window events run, once, in the middle of a rule.
    void regrowTree() override;
    void setFlashTimer(bool on) override;
    void setFlashBackground(Rgb colour) override;
    void drawFrame() override;
    void showScore(int score) override;
    void showStartButton() override;
    void hideStartButton() override;
    void hidePanels() override;
    void fieldChanged(int index) override;
    void enterHighscore(int score) override;

private:
    MainWindow& window_;
};

}  // namespace kv
