#include "ui/form1_controls.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "ui/form1_colours.h"

namespace kv {
namespace {

constexpr int kColumnLeft = 635;
constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 22;

}  // namespace

QPushButton* makeColumnButton(QWidget* window, const char* name, const QString& caption, int top)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(kColumnLeft, top, kButtonWidth, kButtonHeight);
    // Fitted to its face by the window before its first frame.
    button->setFont(QFont(QString::fromLatin1(kWindowFontFamily), 8));
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
