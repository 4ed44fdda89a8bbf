// What the three highscore windows share: a fixed client area in the light green of the table,
// centred on the screen when created and framed by a one-pixel black line along its edge.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QPaintEvent;
class QPushButton;

namespace kv {

// The windows are laid out in twips; 15 twips make one pixel. Positions that do not divide by
// 15 go to the nearest pixel.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
QRect twipsRect(int left, int top, int width, int height);

inline const QColor kHighscoreWindowColour{128, 255, 128};

// MS Sans Serif 8 pt; where that family is missing the font falls back to a sans-serif one.
QFont dialogFont();

// A push button with the window's face colour and black text. Never a default button, so Enter
// in a text box of the window does not press it.
QPushButton* makeFaceButton(const QString& caption, const QRect& geometry, QWidget* parent);

// The question a window asks, in the dialog font, named "questionLabel" for the tests.
QLabel* makeQuestionLabel(const QString& question, const QRect& geometry, QWidget* parent);

class FramedWindow : public QWidget {
public:
    FramedWindow(const QString& title, QSize clientSize, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kv
