#include "game/ui/highscore/reset_question.h"

#include <QLabel>
#include <QPushButton>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/highscore/highscore_table.h"
#include "game/ui/widgets/font_fit.h"

namespace kv {

ResetQuestion::ResetQuestion(HighscoreTableWindow& table, const std::filesystem::path& folder,
                             QWidget* parent)
    : FramedWindow(QString(), QSize(twipsToPixels(3750), twipsToPixels(2160)), parent), table_(table),
      folder_(folder)
{
    QLabel* question = makeQuestionLabel(QStringLiteral("Soll das Highscore wirklich gelöscht werden?"),
                                         twipsRect(285, 615, 3225, 270), this);
    // The substitutes for the dialog font are wider: at 8 pt the question lost its "?".
    fitFontToBox(question, {question->text()}, question->width(), question->height());

    yesButton_ = makeFaceButton(QStringLiteral("&ja"), twipsRect(645, 1200, 990, 360), this);
    yesButton_->setObjectName(QStringLiteral("yesButton"));
    noButton_ = makeFaceButton(QStringLiteral("&nein"), twipsRect(2130, 1200, 990, 360), this);
    noButton_->setObjectName(QStringLiteral("noButton"));
    fitButtonCaptions(yesButton_);
    fitButtonCaptions(noButton_);
    setTabOrder(yesButton_, noButton_);

    connect(yesButton_, &QPushButton::clicked, this, &ResetQuestion::reset);
    connect(noButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void ResetQuestion::ask()
{
    // Asking again only brings the open question to the front; the focus stays where it is.
    const bool wasOpen = isVisible();
    show();
    raise();
    activateWindow();
    if (!wasOpen)
        yesButton_->setFocus(Qt::OtherFocusReason);
}

void ResetQuestion::reset()
{
    hide();
    // The game reports no file errors; what the file holds afterwards is what the table shows.
    resetHighscoreFile(folder_);
    table_.loadRowsFromFile();
    table_.showTableInBackground();
}

}  // namespace kv
