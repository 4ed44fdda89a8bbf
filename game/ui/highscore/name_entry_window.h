// The name entry window shown after a game whose result enters the table.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "game/ui/highscore/framed_window.h"

class QLineEdit;
class QPushButton;

namespace kv {

class HighscoreTableWindow;

class NameEntryWindow : public FramedWindow {
    Q_OBJECT

public:
    // `table` shows the result afterwards; `folder` holds P1.dat (empty: the working directory).
    explicit NameEntryWindow(HighscoreTableWindow& table, const std::filesystem::path& folder = {},
                             QWidget* parent = nullptr);

    // Shows the window modeless with the keyboard focus in the name box.
    void ask();

private:
    // Stores the result with the typed name and the current date, ranks it into the file and
    // shows the table.
    void storeEntry();
    QString resultPoints() const;

    HighscoreTableWindow& table_;
    std::filesystem::path folder_;
    // The points the end of the latest qualifying game wrote into the table, kept apart so that
    // refilling the table from the file before the press cannot replace them.
    std::optional<QString> result_;
    QLineEdit* nameBox_ = nullptr;
    QPushButton* continueButton_ = nullptr;
};

}  // namespace kv
