#include "game/ui/highscore/highscore_table_window.h"

#include <QLineEdit>
#include <QPushButton>

#include "game/highscore/date_text.h"
#include "game/ui/highscore/table_cell.h"
#include "game/ui/widgets/font_fit.h"

namespace kv {
namespace {

// Twips of the four columns: left and width. Cells are 285 twips high, row i at 300 * (i + 1).
struct Column {
    int left;
    int width;
    Qt::Alignment alignment;
};
constexpr Column kRankColumn{480, 285, Qt::AlignHCenter};
constexpr Column kPointsColumn{990, 450, Qt::AlignRight};
constexpr Column kNameColumn{1700, 2040, Qt::AlignLeft};
constexpr Column kDateColumn{4005, 1395, Qt::AlignHCenter};

QLineEdit* makeCell(const Column& column, int row, QWidget* parent)
{
    QLineEdit* cell = makeTableCell(twipsRect(column.left, 300 * (row + 1), column.width, 285),
                                    column.alignment, tableRowColour(row), parent);
    // The eleventh row holds data but is never shown.
    if (row == HighscoreTableWindow::kResultRow)
        cell->hide();
    return cell;
}

bool validRow(int row)
{
    return row >= 0 && row < HighscoreTableWindow::kRows;
}

// The installed substitutes for the dialog font are wider than it, and a date that does not fit
// its cell loses its seconds: the date column's font is lowered until the 17 characters fit, the
// German settings' as well as this locale's own.
void fitDateColumn(const std::array<QLineEdit*, HighscoreTableWindow::kRows>& cells)
{
    std::tm wide{};  // eights and zeros are the widest digits in most fonts
    wide.tm_year = 188;
    wide.tm_mon = 7;
    wide.tm_mday = 28;
    wide.tm_hour = 20;
    wide.tm_min = 58;
    wide.tm_sec = 58;
    QLineEdit* first = cells.front();
    fitFontToBox(first, {QStringLiteral("12.06.99 16:02:47"), QString::fromStdString(dateText(wide))},
                 tableCellTextWidth(*first));
    for (QLineEdit* cell : cells)
        cell->setFont(first->font());
}

}  // namespace

HighscoreTableWindow::HighscoreTableWindow(const std::filesystem::path& folder, QWidget* parent)
    : FramedWindow(QStringLiteral("Highscore"), QSize(twipsToPixels(5880), twipsToPixels(4005)), parent),
      folder_(folder)
{
    for (int row = 0; row < kRows; ++row) {
        rank_[row] = makeCell(kRankColumn, row, this);
        rank_[row]->setText(QString::number(row + 1));
        rank_[row]->setEnabled(false);
        rank_[row]->setObjectName(QStringLiteral("rankCell%1").arg(row));
        points_[row] = makeCell(kPointsColumn, row, this);
        points_[row]->setObjectName(QStringLiteral("pointsCell%1").arg(row));
        name_[row] = makeCell(kNameColumn, row, this);
        name_[row]->setObjectName(QStringLiteral("nameCell%1").arg(row));
        date_[row] = makeCell(kDateColumn, row, this);
        date_[row]->setObjectName(QStringLiteral("dateCell%1").arg(row));
    }
    fitDateColumn(date_);
    continueButton_ = makeFaceButton(QStringLiteral("&Weiter"), twipsRect(4305, 3495, 1095, 300), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    // The caption changes for good on the first display; both must fit the one font.
    fitButtonCaptions(continueButton_, {QStringLiteral("&Weiter"), QStringLiteral("Zurück")});
    connect(continueButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void HighscoreTableWindow::displayTable()
{
    loadRowsFromFile();
    continueButton_->setText(QStringLiteral("Zurück"));
    showTableWithButtonFocus();
}

void HighscoreTableWindow::fillRows(const HighscoreTable& table)
{
    for (int row = 0; row < kRows; ++row) {
        const HighscoreRowTexts texts = highscoreRowTexts(table[static_cast<std::size_t>(row)]);
        points_[row]->setText(QString::fromStdString(texts.points));
        name_[row]->setText(QString::fromStdString(texts.name));
        date_[row]->setText(QString::fromStdString(texts.date));
        // Long texts start at their beginning, as the cell shows them before any scrolling.
        points_[row]->setCursorPosition(0);
        name_[row]->setCursorPosition(0);
        date_[row]->setCursorPosition(0);
    }
}

void HighscoreTableWindow::loadRowsFromFile()
{
    HighscoreTable table;
    if (loadHighscoreTable(table, folder_))
        fillRows(table);
}

void HighscoreTableWindow::showTable()
{
    show();
    raise();
    activateWindow();
}

void HighscoreTableWindow::showTableWithButtonFocus()
{
    showTable();
    continueButton_->setFocus(Qt::OtherFocusReason);
}

void HighscoreTableWindow::showTableInBackground()
{
    // Already open, perhaps under other windows: brought to the front, but the keyboard stays
    // where it is.
    if (isVisible()) {
        raise();
        return;
    }
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void HighscoreTableWindow::setPointsCell(int row, const QString& text)
{
    if (!validRow(row))
        return;
    points_[row]->setText(text);
    if (row == kResultRow)
        emit resultCellWritten(text);
}

QString HighscoreTableWindow::pointsCell(int row) const
{
    return validRow(row) ? points_[row]->text() : QString();
}
QString HighscoreTableWindow::nameCell(int row) const
{
    return validRow(row) ? name_[row]->text() : QString();
}
QString HighscoreTableWindow::dateCell(int row) const
{
    return validRow(row) ? date_[row]->text() : QString();
}

}  // namespace kv
