// What the main window's buttons and fields do.
#include "game/ui/main_window.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTextEdit>

#include "game/ui/base_colour.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/reset_question.h"
#include "game/ui/info_panels.h"
#include "game/ui/widgets/board_cursor.h"
#include "game/ui/widgets/field_widget.h"

namespace kv {
namespace {

const QString kSoundOffCaption = QStringLiteral("Ton &einschalten");
const QString kSoundOnCaption = QStringLiteral("Ton &ausschalten");

}  // namespace

void MainWindow::connectButtons()
{
    // The mouse and the keyboard hand their moves to the same handler.
    const auto drop = [this](int target, int source) { game_->dropField(target, source); };
    for (FieldWidget* field : fields_) {
        connect(field, &FieldWidget::dropped, this, drop);
        // A press during the tree's yield would start a drag whose drop the game ignores.
        field->setDragGate([this] { return !game_->moveInProgress(); });
    }
    connect(boardCursor_, &BoardCursor::dropped, this, drop);
    connect(startButton_, &QPushButton::clicked, this, [this] { game_->startGame(); });
    connect(abortButton_, &QPushButton::clicked, this, [this] { game_->abortGame(); });
    connect(soundButton_, &QPushButton::clicked, this, &MainWindow::toggleSound);
    connect(baseColourButton_, &QPushButton::clicked, this, &MainWindow::nextBaseColour);
    connect(rulesButton_, &QPushButton::clicked, this,
            [this] { togglePanel(rulesPanel(), informationPanel()); });
    connect(informationButton_, &QPushButton::clicked, this,
            [this] { togglePanel(informationPanel(), rulesPanel()); });
    connect(showTableButton_, &QPushButton::clicked, this, [this] {
        game_->playSound(Sound::HighscoreTable, SoundFlags::Async);
        highscoreTable().displayTable();
    });
    connect(resetTableButton_, &QPushButton::clicked, this, [this] { resetQuestion().ask(); });
    connect(endButton_, &QPushButton::clicked, this, &MainWindow::endProgram);
}

void MainWindow::toggleSound()
{
    // The caption is the state the player sees, so it decides.
    const bool switchingOff = soundButton_->text() != kSoundOffCaption;
    soundButton_->setText(switchingOff ? kSoundOffCaption : kSoundOnCaption);
    game_->state().soundOn = !switchingOff;
}

void MainWindow::nextBaseColour()
{
    const auto next = kv::nextBaseColour(fields_[0]->baseColour());
    if (!next)
        return;
    for (FieldWidget* field : fields_)
        field->setBaseColour(*next);
}

void MainWindow::endProgram()
{
    // Nothing is stored: a running game and an open name entry are dropped.
    QCoreApplication::quit();
}

}  // namespace kv
