// The question whether to clear the highscore table.
#pragma once

#include <filesystem>

#include "highscore/framed_window.h"

class QPushButton;

namespace kv {

class Form2;

class Form4 : public FramedWindow {
    Q_OBJECT

public:
    // `table` is refilled and shown after a reset; `folder` holds P1.dat (empty: the working
    // directory).
    explicit Form4(Form2& table, const std::filesystem::path& folder = {}, QWidget* parent = nullptr);

    // Shows the question modeless with the focus on "&ja"; while it is open, asking again only
    // brings it to the front.
    void ask();

private:
    void reset();

    Form2& table_;
    std::filesystem::path folder_;
    QPushButton* cmdJa_ = nullptr;
    QPushButton* cmdNein_ = nullptr;
};

}  // namespace kv
