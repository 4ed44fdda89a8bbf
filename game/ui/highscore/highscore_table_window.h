// The highscore table window: ranks 1 to 10 with points, name and date, and a hidden eleventh
// row that holds the eleventh entry of the file and the result of a game that just ended.
#pragma once

#include <QString>
#include <array>
#include <filesystem>

#include "game/ui/highscore/framed_window.h"
#include "game/highscore/highscore_table.h"

class QLineEdit;
class QPushButton;

namespace kv {

class HighscoreTableWindow : public FramedWindow {
    Q_OBJECT

public:
    static constexpr int kRows = kHighscoreRecordCount;
    static constexpr int kResultRow = kHighscoreRecordCount - 1;

    // `folder` holds P1.dat; empty means the working directory.
    explicit HighscoreTableWindow(const std::filesystem::path& folder = {}, QWidget* parent = nullptr);

    // The main window's "show the table": the caller plays the table sound first. Loads rows 0 to
    // 10 from the file, renames the button "Zurück" for good, shows the window and focuses the
    // button.
    void displayTable();
    // Rows 0 to 10: points as decimal text, the 20-character name and the 17-character date.
    void fillRows(const HighscoreTable& table);
    // Refills rows 0 to 10 from the file. A file that cannot be read leaves the rows as they are.
    void loadRowsFromFile();
    // Shows the window modeless and brings it to the front; the caption stays as it is.
    void showTable();
    // showTable, then the keyboard focus on the button.
    void showTableWithButtonFocus();
    // Shows the window modeless, or brings it to the front when it is open, without activating
    // it.
    void showTableInBackground();

    void setPointsCell(int row, const QString& text);
    QString pointsCell(int row) const;
    QString nameCell(int row) const;
    QString dateCell(int row) const;

signals:
    // Emitted when the points cell of the hidden row is written through setPointsCell, which is
    // how the end of a game hands its result to the name entry. Refills do not emit it.
    void resultCellWritten(const QString& points);

private:
    std::filesystem::path folder_;
    std::array<QLineEdit*, kRows> rank_{};
    std::array<QLineEdit*, kRows> points_{};
    std::array<QLineEdit*, kRows> name_{};
    std::array<QLineEdit*, kRows> date_{};
    QPushButton* continueButton_ = nullptr;
};

}  // namespace kv
