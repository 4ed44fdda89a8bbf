#include "game/ui/highscore/name_entry_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "game/highscore/date_text.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/highscore/highscore_table.h"
#include "game/ui/widgets/font_fit.h"

namespace kv {
namespace {

// The points a cell's text stands for; text that is no number counts as 0, and numbers beyond
// the 16-bit range of a record are held at its limits.
std::int16_t pointsFromText(const QString& text)
{
    bool isNumber = false;
    const qlonglong value = text.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return 0;
    return static_cast<std::int16_t>(std::clamp<qlonglong>(value, std::numeric_limits<std::int16_t>::min(),
                                                           std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

NameEntryWindow::NameEntryWindow(HighscoreTableWindow& table, const std::filesystem::path& folder,
                                 QWidget* parent)
    : FramedWindow(QStringLiteral("Spielername"), QSize(twipsToPixels(3285), twipsToPixels(2040)), parent),
      table_(table), folder_(folder)
{
    QLabel* question = makeQuestionLabel(QStringLiteral("Wer hat so viel Punkte erzielt?"),
                                         twipsRect(525, 330, 2310, 495), this);
    question->setWordWrap(true);
    question->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("nameBox"));
    nameBox_->setGeometry(twipsRect(585, 780, 2040, 285));
    nameBox_->setFont(dialogFont());
    nameBox_->setFrame(false);

    continueButton_ = makeFaceButton(QStringLiteral("&Weiter"), twipsRect(1725, 1410, 900, 285), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    fitButtonCaptions(continueButton_);
    setTabOrder(nameBox_, continueButton_);

    connect(continueButton_, &QPushButton::clicked, this, &NameEntryWindow::storeEntry);
    connect(&table_, &HighscoreTableWindow::resultCellWritten, this,
            [this](const QString& points) { result_ = points; });
}

void NameEntryWindow::ask()
{
    show();
    raise();
    activateWindow();
    nameBox_->setFocus(Qt::OtherFocusReason);
}

QString NameEntryWindow::resultPoints() const
{
    return result_.value_or(table_.pointsCell(HighscoreTableWindow::kResultRow));
}

void NameEntryWindow::storeEntry()
{
    HighscoreRecord entry;
    entry.points = pointsFromText(resultPoints());
    entry.name = nameBox_->text().toStdString();
    entry.date = currentDateText();
    result_.reset();

    nameBox_->clear();
    nameBox_->setFocus(Qt::OtherFocusReason);

    HighscoreTable ranked;
    HighscoreTable unused;
    if (!storeNewHighscore(entry, ranked, folder_) && !loadHighscoreTable(unused, folder_)) {
        // The file could not even be read, so its ranking is blanks: rank the entry into the rows
        // the table shows instead of wiping them.
        for (int row = 0; row < HighscoreTableWindow::kResultRow; ++row) {
            HighscoreRecord& shown = ranked[static_cast<std::size_t>(row)];
            shown.points = pointsFromText(table_.pointsCell(row));
            shown.name = table_.nameCell(row).toStdString();
            shown.date = table_.dateCell(row).toStdString();
        }
        ranked.back() = entry;
        rankHighscoreTable(ranked);
    }
    table_.fillRows(ranked);

    hide();
    table_.showTableWithButtonFocus();
}

}  // namespace kv
