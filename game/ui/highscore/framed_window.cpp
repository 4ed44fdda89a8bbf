#include "game/ui/highscore/framed_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

namespace kv {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

QFont dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QPushButton* makeFaceButton(const QString& caption, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setFont(dialogFont());
    button->setAutoDefault(false);
    button->setDefault(false);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kHighscoreWindowColour);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

QLabel* makeQuestionLabel(const QString& question, const QRect& geometry, QWidget* parent)
{
    auto* label = new QLabel(question, parent);
    label->setObjectName(QStringLiteral("questionLabel"));
    label->setGeometry(geometry);
    label->setFont(dialogFont());
    return label;
}

FramedWindow::FramedWindow(const QString& title, QSize clientSize, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(title);
    setFixedSize(clientSize);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kHighscoreWindowColour);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    // Centred once, while still hidden; the windows are only shown and hidden afterwards.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - clientSize.width()) / 2,
             area.top() + (area.height() - clientSize.height()) / 2);
    }
}

void FramedWindow::paintEvent(QPaintEvent*)
{
    // Filled one-pixel strips rather than a cosmetic pen, which draws one device pixel: on a
    // screen with more device pixels per pixel the frame would become a hairline.
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 1, Qt::black);
    painter.fillRect(0, h - 1, w, 1, Qt::black);
    painter.fillRect(0, 0, 1, h, Qt::black);
    painter.fillRect(w - 1, 0, 1, h, Qt::black);
}

}  // namespace kv
