#include "highscore/form4.h"

#include <QLabel>
#include <QPushButton>

#include "highscore/form2.h"
#include "highscore/highscore_table.h"
#include "ui/widgets/font_fit.h"

namespace kv {

Form4::Form4(Form2& table, const std::filesystem::path& folder, QWidget* parent)
    : FramedWindow(QString(), QSize(twipsToPixels(3750), twipsToPixels(2160)), parent),
      table_(table),
      folder_(folder)
{
    auto* lblFrage = new QLabel(QStringLiteral("Soll das Highscore wirklich gelöscht werden?"), this);
    lblFrage->setObjectName(QStringLiteral("lblFrage"));
    lblFrage->setGeometry(twipsRect(285, 615, 3225, 270));
    lblFrage->setFont(dialogFont());
    // The substitutes for the dialog font are wider: at 8 pt the question lost its "?".
    fitFontToBox(lblFrage, {lblFrage->text()}, lblFrage->width(), lblFrage->height());

    cmdJa_ = makeFaceButton(QStringLiteral("&ja"), twipsRect(645, 1200, 990, 360), this);
    cmdJa_->setObjectName(QStringLiteral("cmdJa"));
    cmdNein_ = makeFaceButton(QStringLiteral("&nein"), twipsRect(2130, 1200, 990, 360), this);
    cmdNein_->setObjectName(QStringLiteral("cmdNein"));
    fitButtonCaptions(cmdJa_);
    fitButtonCaptions(cmdNein_);
    setTabOrder(cmdJa_, cmdNein_);

    connect(cmdJa_, &QPushButton::clicked, this, &Form4::reset);
    connect(cmdNein_, &QPushButton::clicked, this, &QWidget::hide);
}

void Form4::ask()
{
    // Asking again only brings the open question to the front; the focus stays where it is.
    const bool wasOpen = isVisible();
    show();
    raise();
    activateWindow();
    if (!wasOpen) cmdJa_->setFocus(Qt::OtherFocusReason);
}

void Form4::reset()
{
    hide();
    // The game reports no file errors; what the file holds afterwards is what the table shows.
    resetHighscoreFile(folder_);
    table_.loadRowsFromFile();
    table_.showTableInBackground();
}

}  // namespace kv
