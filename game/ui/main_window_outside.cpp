#include "game/ui/main_window_outside.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "game/tree/tree.h"
#include "game/ui/main_window.h"
#include "game/ui/sound_files.h"
#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/tree_canvas_widget.h"

namespace kv {

void MainWindowOutside::playSound(Sound sound, SoundFlags flags)
{
    const bool wait = flags == SoundFlags::Wait;
    // The thread is about to block for the whole sound: the board the player hears about must
    // be on screen first.
    if (wait)
        window_.repaint();
    const std::string_view file = soundFile(sound);
    window_.sound_->play(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())), wait);
}

void MainWindowOutside::regrowTree()
{
    window_.tree_->regrow();
    window_.treeCanvas_->update();
}

void MainWindowOutside::setFlashTimer(bool on)
{
    if (on)
        window_.flashTimer_.start();
    else
        window_.flashTimer_.stop();
}

void MainWindowOutside::setFlashBackground(Rgb colour)
{
    window_.setBackground(QColor(colour.red, colour.green, colour.blue));
}

void MainWindowOutside::drawFrame()
{
    window_.showFrame();
}

void MainWindowOutside::showScore(int score)
{
    window_.scoreLabel_->setText(QString::number(score));
}

void MainWindowOutside::showStartButton()
{
    window_.startButton_->show();
    window_.startButton_->setFocus();
}

void MainWindowOutside::hideStartButton()
{
    window_.startButton_->hide();
}

void MainWindowOutside::hidePanels()
{
    window_.hidePanels();
}

void MainWindowOutside::fieldChanged(int index)
{
    const Field& field = window_.game_->board().field(index);
    FieldWidget* widget = window_.field(index);
    widget->setPicture(field.picture);
    widget->setDraggable(field.draggable);
    widget->setEnabled(field.enabled);
}

void MainWindowOutside::enterHighscore(int score)
{
    window_.highscoreTable().setPointsCell(HighscoreTableWindow::kResultRow, QString::number(score));
    window_.nameEntry().ask();
}

}  // namespace kv
