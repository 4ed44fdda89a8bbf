// The question whether to clear the highscore table.
#pragma once

#include <filesystem>

#include "game/ui/highscore/framed_window.h"

class QPushButton;

namespace kv {

class HighscoreTableWindow;

class ResetQuestion : public FramedWindow {
    Q_OBJECT

public:
    // `table` is refilled and shown after a reset; `folder` holds P1.dat (empty: the working
    // directory).
    explicit ResetQuestion(HighscoreTableWindow& table, const std::filesystem::path& folder = {},
                           QWidget* parent = nullptr);

    // Shows the question modeless with the focus on "&ja"; while it is open, asking again only
    // brings it to the front.
    void ask();

private:
    void reset();

    HighscoreTableWindow& table_;
    std::filesystem::path folder_;
    QPushButton* yesButton_ = nullptr;
    QPushButton* noButton_ = nullptr;
};

}  // namespace kv
