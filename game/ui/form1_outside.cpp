#include "ui/form1_outside.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include "highscore/form2.h"
#include "highscore/form3.h"
#include "tree/tree.h"
#include "ui/form1.h"
#include "ui/widgets/field_widget.h"
#include "ui/widgets/tree_canvas_widget.h"

namespace kv {

void Form1Outside::playSound(std::string_view file, SoundFlags flags)
{
    const bool wait = flags == SoundFlags::Wait;
    // The thread is about to block for the whole sound: the board the player hears about must
    // be on screen first.
    if (wait)
        window_.repaint();
    window_.sound_->play(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())), wait);
}

void Form1Outside::regrowTree()
{
    window_.tree_->RegrowTree();
    window_.picCanvas_->update();
}

void Form1Outside::setFlashTimer(bool on)
{
    if (on)
        window_.tmrTimer_.start();
    else
        window_.tmrTimer_.stop();
}

void Form1Outside::setFlashBackground(Rgb colour)
{
    window_.setBackground(QColor(colour.red, colour.green, colour.blue));
}

void Form1Outside::drawFrame()
{
    window_.showFrame();
}

void Form1Outside::showScore(int score)
{
    window_.lblPunkte_->setText(QString::number(score));
}

void Form1Outside::showStartButton()
{
    window_.cmdSpielStarten_->show();
    window_.cmdSpielStarten_->setFocus();
}

void Form1Outside::hideStartButton()
{
    window_.cmdSpielStarten_->hide();
}

void Form1Outside::hidePanels()
{
    window_.hidePanels();
}

void Form1Outside::fieldChanged(int index)
{
    const Field& field = window_.game_->board().field(index);
    FieldWidget* widget = window_.field(index);
    widget->setPicture(field.picture);
    widget->setDraggable(field.draggable);
    widget->setEnabled(field.enabled);
}

void Form1Outside::enterHighscore(int score)
{
    window_.highscoreTable().setPointsCell(Form2::kResultRow, QString::number(score));
    window_.nameEntry().ask();
}

}  // namespace kv
