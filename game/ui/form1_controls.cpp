#include "ui/form1_controls.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "ui/form1_colours.h"

namespace kv {
namespace {

constexpr int kColumnLeft = 635;
constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 22;
// What the style leaves of a button's width for its caption.
constexpr int kButtonTextMargin = 10;
constexpr qreal kSmallestPointSize = 6.0;

qreal widest(const QFont& font, const QStringList& lines)
{
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

bool fits(const QFont& font, const QStringList& lines, int width, int height)
{
    const qreal tall = height > 0 ? QFontMetricsF(font).lineSpacing() * lines.size() : 0;
    return widest(font, lines) <= width && tall <= height;
}

}  // namespace

void fitFontToBox(QWidget* widget, const QStringList& lines, int width, int height)
{
    QFont font = widget->font();
    if (!fits(font, lines, width, height)) {
        // Text grows about in proportion to the point size, so one measurement gives a close
        // first guess; every size tried costs a font of its own, which is slow at start-up.
        const qreal tall = height > 0 ? QFontMetricsF(font).lineSpacing() * lines.size() : 0;
        qreal scale = width / std::max(widest(font, lines), qreal(1));
        if (tall > 0)
            scale = std::min(scale, height / tall);
        const qreal guess = std::floor(font.pointSizeF() * scale * 2) / 2;
        font.setPointSizeF(std::max(guess, kSmallestPointSize));
        // Hinting makes the growth a little uneven: the next half point up may still fit.
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() + 0.5);
        if (larger.pointSizeF() <= widget->font().pointSizeF() && fits(larger, lines, width, height))
            font = larger;
    }
    while (!fits(font, lines, width, height) && font.pointSizeF() - 0.5 >= kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget->setFont(font);
}

QPushButton* makeColumnButton(QWidget* window, const char* name, const QString& caption, int top)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(kColumnLeft, top, kButtonWidth, kButtonHeight);
    button->setFont(QFont(QString::fromLatin1(kWindowFontFamily), 8));
    QString shown = caption;
    shown.remove(u'&');
    fitFontToBox(button, {shown}, kButtonWidth - kButtonTextMargin);
    button->setAutoDefault(false);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colours::kButtonFace);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

QLabel* makeTitleLabel(QWidget* window)
{
    auto* label = new QLabel(QStringLiteral("KARVELO"), window);
    label->setObjectName(QStringLiteral("lblKarvelo"));
    label->setGeometry(622, 22, 161, 34);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colours::kWindowBackground);
    palette.setColor(QPalette::WindowText, colours::kWindowForeground);
    label->setPalette(palette);
    return label;
}

QLabel* makeScoreLabel(QWidget* window)
{
    auto* label = new QLabel(QStringLiteral("0"), window);
    label->setObjectName(QStringLiteral("lblPunkte"));
    label->setGeometry(656, 70, 90, 37);
    QFont font(QString::fromLatin1(kWindowFontFamily), 24);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

}  // namespace kv
