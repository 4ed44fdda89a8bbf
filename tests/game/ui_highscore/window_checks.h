// Checks on what a window shows: its pixels, its frame and its keyboard handling.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

#include "tests/game/ui_widgets/logical_pixel.h"

namespace kv::test {

// The one-pixel black line along the client edge, over the window's light green: at a pixel
// ratio of 2 every device pixel of the line is black, so it stays sharp.
inline void checkFramedWindow(QWidget& window, int width, int height)
{
    QCOMPARE(window.size(), QSize(width, height));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const QImage image = window.grab().toImage();
    QCOMPARE(image.deviceIndependentSize(), QSizeF(width, height));
    const QColor black(0, 0, 0);
    const QColor green(128, 255, 128);
    const QPoint line[] = {
        {0, 0},         {width - 1, height - 1}, {width - 1, 0},          {0, height - 1},
        {width / 2, 0}, {0, height / 2},         {width / 2, height - 1}, {width - 1, height / 2}};
    for (const QPoint& p : line)
        QCOMPARE(logicalPixel(image, p.x(), p.y()), black);
    for (const QPoint& p :
         {QPoint(1, 1), QPoint(width - 2, height - 2), QPoint(width / 2, 1), QPoint(1, height / 2)})
        QCOMPARE(logicalPixel(image, p.x(), p.y()), green);
}

// The text drawn for each caption (an access key's `&` is not drawn) fits the button's face.
inline void checkCaptionsFit(QAbstractButton* button, const QStringList& captions)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect face = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetricsF metrics(button->font());
    for (QString caption : captions) {
        caption.remove(u'&');
        QVERIFY2(metrics.horizontalAdvance(caption) <= face.width(),
                 qPrintable(QStringLiteral("\"%1\" is %2 px wide on a face of %3 px")
                                .arg(caption)
                                .arg(metrics.horizontalAdvance(caption))
                                .arg(face.width())));
    }
}

// A one-line label's text fits inside it, across and down.
inline void checkLabelFits(const QLabel* label)
{
    const QFontMetricsF metrics(label->font());
    const QRect box = label->contentsRect();
    QVERIFY2(metrics.horizontalAdvance(label->text()) <= box.width(),
             qPrintable(QStringLiteral("\"%1\" is %2 px wide in a label of %3 px")
                            .arg(label->text())
                            .arg(metrics.horizontalAdvance(label->text()))
                            .arg(box.width())));
    QVERIFY(metrics.height() <= box.height());
}

inline void checkCentred(const QWidget& window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.pos(), QPoint(screen.left() + (screen.width() - window.width()) / 2,
                                  screen.top() + (screen.height() - window.height()) / 2));
}

inline bool activate(QWidget& window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

}  // namespace kv::test
