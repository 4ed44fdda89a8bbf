// The main window's controls: where each one is made, with its look, and how the window reaches
// the ones it makes late.
#include "game/ui/main_window_controls.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>

#include <initializer_list>
#include <utility>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "game/ui/highscore/reset_question.h"
#include "game/ui/info_panels.h"
#include "game/ui/main_window.h"
#include "game/ui/main_window_colours.h"
#include "game/ui/widgets/board_cursor.h"
#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/palette_pictures.h"
#include "game/ui/widgets/tree_canvas_widget.h"

namespace kv {
namespace {

void setColours(QWidget* widget, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colours)
{
    QPalette palette = widget->palette();
    for (const auto& [role, colour] : colours)
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace

QPushButton* makeColumnButton(QWidget* window, const char* name, const QString& caption, int top)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(635, top, 130, 22);
    // Fitted to its face by the window before its first frame.
    button->setFont(QFont(QString::fromLatin1(kWindowFontFamily), 8));
    button->setAutoDefault(false);
    setColours(button, {{QPalette::Button, colours::kButtonFace}, {QPalette::ButtonText, Qt::black}});
    return button;
}

QLabel* makeTitleLabel(QWidget* window)
{
    auto* label = new QLabel(QStringLiteral("KARVELO"), window);
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setGeometry(622, 22, 161, 34);
    label->setAutoFillBackground(true);
    setColours(label, {{QPalette::Window, colours::kWindowBackground},
                       {QPalette::WindowText, colours::kWindowForeground}});
    return label;
}

QLabel* makeScoreLabel(QWidget* window)
{
    auto* label = new QLabel(QStringLiteral("0"), window);
    label->setObjectName(QStringLiteral("scoreLabel"));
    label->setGeometry(656, 70, 90, 37);
    QFont font(QString::fromLatin1(kWindowFontFamily), 24);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    setColours(label, {{QPalette::Window, Qt::white}, {QPalette::WindowText, Qt::black}});
    return label;
}

void MainWindow::createControls()
{
    pictures_ = std::make_unique<PalettePictures>(devicePixelRatioF());
    for (int i = 0; i < kFieldCount; ++i) {
        auto* field = new FieldWidget(i, *pictures_, this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setGeometry(37 + 63 * (i % kBoardSide), 17 + 63 * (i / kBoardSide), 62, 62);
        fields_.at(static_cast<std::size_t>(i)) = field;
    }
    titleLabel_ = makeTitleLabel(this);
    scoreLabel_ = makeScoreLabel(this);
    treeCanvas_ = new TreeCanvasWidget(this);
    treeCanvas_->setObjectName(QStringLiteral("treeCanvas"));
    treeCanvas_->setGeometry(624, 125, kTreeCanvasSize, kTreeCanvasSize);
    treeCanvas_->setForegroundColour(colours::kTreeLines);

    // The column of buttons below the tree, from the top; the gap before the last one is kept.
    const struct {
        QPushButton* MainWindow::*button;
        const char* name;
        const char* caption;
        int top;
    } buttons[] = {
        {&MainWindow::startButton_, "startButton", "Spiel &starten", 295},
        {&MainWindow::abortButton_, "abortButton", "Spiel &abbrechen", 322},
        {&MainWindow::soundButton_, "soundButton", "&Ton ausschalten", 349},
        {&MainWindow::baseColourButton_, "baseColourButton", "&Feldergrundfarbe ändern", 376},
        {&MainWindow::rulesButton_, "rulesButton", "Spiel&regeln", 403},
        {&MainWindow::informationButton_, "informationButton", "&Information", 430},
        {&MainWindow::showTableButton_, "showTableButton", "Highscore an&zeigen", 457},
        {&MainWindow::resetTableButton_, "resetTableButton", "Highscore er&neuern", 484},
        {&MainWindow::endButton_, "endButton", "Programm &beenden", 538},
    };
    for (const auto& button : buttons)
        this->*button.button =
            makeColumnButton(this, button.name, QString::fromUtf8(button.caption), button.top);
    // Made after the buttons: it is the last stop of the Tab order and lies over the fields.
    boardCursor_ = new BoardCursor(fields_, this);
    boardCursor_->setObjectName(QStringLiteral("boardCursor"));
}

void MainWindow::createPanels()
{
    if (rulesPanel_ != nullptr)
        return;
    // Made after every other control, so they lie over the board.
    rulesPanel_ = makeRulesPanel(this);
    informationPanel_ = makeInformationPanel(this);
}

QTextEdit* MainWindow::rulesPanel()
{
    createPanels();
    return rulesPanel_;
}

QTextEdit* MainWindow::informationPanel()
{
    createPanels();
    return informationPanel_;
}

void MainWindow::hidePanels()
{
    // Panels not made yet are hidden already.
    if (rulesPanel_ == nullptr)
        return;
    informationPanel_->hide();
    rulesPanel_->hide();
}

void MainWindow::createSecondaryWindows()
{
    if (highscoreTable_ != nullptr)
        return;
    // Each centres itself and draws its own frame; all stay hidden until asked for.
    highscoreTable_ = new HighscoreTableWindow(folder_, this);
    nameEntry_ = new NameEntryWindow(*highscoreTable_, folder_, this);
    resetQuestion_ = new ResetQuestion(*highscoreTable_, folder_, this);
}

HighscoreTableWindow& MainWindow::highscoreTable()
{
    createSecondaryWindows();
    return *highscoreTable_;
}

NameEntryWindow& MainWindow::nameEntry()
{
    createSecondaryWindows();
    return *nameEntry_;
}

ResetQuestion& MainWindow::resetQuestion()
{
    createSecondaryWindows();
    return *resetQuestion_;
}

}  // namespace kv
