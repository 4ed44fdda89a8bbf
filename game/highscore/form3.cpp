#include "highscore/form3.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "highscore/date_text.h"
#include "highscore/form2.h"
#include "highscore/highscore_table.h"
#include "ui/widgets/font_fit.h"

namespace kv {
namespace {

// The points a cell's text stands for; text that is no number counts as 0, and numbers beyond
// the 16-bit range of a record are held at its limits.
std::int16_t pointsFromText(const QString& text)
{
    bool isNumber = false;
    const qlonglong value = text.trimmed().toLongLong(&isNumber);
    if (!isNumber) return 0;
    return static_cast<std::int16_t>(std::clamp<qlonglong>(value, std::numeric_limits<std::int16_t>::min(),
                                                           std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

Form3::Form3(Form2& table, const std::filesystem::path& folder, QWidget* parent)
    : FramedWindow(QStringLiteral("Spielername"), QSize(twipsToPixels(3285), twipsToPixels(2040)), parent),
      table_(table),
      folder_(folder)
{
    auto* lblFrage = new QLabel(QStringLiteral("Wer hat so viel Punkte erzielt?"), this);
    lblFrage->setObjectName(QStringLiteral("lblFrage"));
    lblFrage->setGeometry(twipsRect(525, 330, 2310, 495));
    lblFrage->setFont(dialogFont());
    lblFrage->setWordWrap(true);
    lblFrage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtEingabeNamen_ = new QLineEdit(this);
    txtEingabeNamen_->setObjectName(QStringLiteral("txtEingabeNamen"));
    txtEingabeNamen_->setGeometry(twipsRect(585, 780, 2040, 285));
    txtEingabeNamen_->setFont(dialogFont());
    txtEingabeNamen_->setFrame(false);

    cmdWeiter_ = makeFaceButton(QStringLiteral("&Weiter"), twipsRect(1725, 1410, 900, 285), this);
    cmdWeiter_->setObjectName(QStringLiteral("cmdWeiter"));
    fitButtonCaptions(cmdWeiter_);
    setTabOrder(txtEingabeNamen_, cmdWeiter_);

    connect(cmdWeiter_, &QPushButton::clicked, this, &Form3::storeEntry);
    connect(&table_, &Form2::resultCellWritten, this, [this](const QString& points) { result_ = points; });
}

void Form3::ask()
{
    show();
    raise();
    activateWindow();
    txtEingabeNamen_->setFocus(Qt::OtherFocusReason);
}

QString Form3::resultPoints() const { return result_.value_or(table_.pointsCell(Form2::kResultRow)); }

void Form3::storeEntry()
{
    HighscoreRecord entry;
    entry.points = pointsFromText(resultPoints());
    entry.name = txtEingabeNamen_->text().toStdString();
    entry.date = currentDateText();
    result_.reset();

    txtEingabeNamen_->clear();
    txtEingabeNamen_->setFocus(Qt::OtherFocusReason);

    HighscoreTable ranked;
    HighscoreTable unused;
    if (!storeNewHighscore(entry, ranked, folder_) && !loadHighscoreTable(unused, folder_)) {
        // The file could not even be read, so its ranking is blanks: rank the entry into the rows
        // the table shows instead of wiping them.
        for (int row = 0; row < Form2::kResultRow; ++row) {
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
