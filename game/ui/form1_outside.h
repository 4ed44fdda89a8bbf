// How the rules reach the main window: sound, tree, flash timer and colours, frame, score, start
// button, panels, board fields and the name entry.
#pragma once

#include "rules/game_outside.h"

namespace kv {

class Form1;

class Form1Outside final : public GameOutside {
public:
    explicit Form1Outside(Form1& window) : window_(window) {}

    void playSound(std::string_view file, SoundFlags flags) override;
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
    Form1& window_;
};

}  // namespace kv
