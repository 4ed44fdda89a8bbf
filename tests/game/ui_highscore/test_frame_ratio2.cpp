// The windows' one-pixel frame on a screen with two device pixels per pixel.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "ui/highscore/highscore_table_window.h"
#include "ui/highscore/name_entry_window.h"
#include "ui/highscore/reset_question.h"

namespace kv {
namespace {

// The frame is one pixel of the window, so two device pixels of black along every edge, and
// the light green right inside it.
void checkFrameAtRatio2(QWidget& window)
{
    const QImage image = window.grab().toImage();
    QCOMPARE(image.size(), window.size() * 2);
    const int w = image.width();
    const int h = image.height();
    const QColor black(0, 0, 0);
    const QColor green(128, 255, 128);
    for (const int x : {w / 3, w / 2}) {
        QCOMPARE(image.pixelColor(x, 0), black);
        QCOMPARE(image.pixelColor(x, 1), black);
        QCOMPARE(image.pixelColor(x, 2), green);
        QCOMPARE(image.pixelColor(x, h - 1), black);
        QCOMPARE(image.pixelColor(x, h - 2), black);
        QCOMPARE(image.pixelColor(x, h - 3), green);
    }
    for (const int y : {h / 3, h / 2}) {
        QCOMPARE(image.pixelColor(0, y), black);
        QCOMPARE(image.pixelColor(1, y), black);
        QCOMPARE(image.pixelColor(2, y), green);
        QCOMPARE(image.pixelColor(w - 1, y), black);
        QCOMPARE(image.pixelColor(w - 2, y), black);
        QCOMPARE(image.pixelColor(w - 3, y), green);
    }
}

}  // namespace

class TestFrameRatio2 : public QObject {
    Q_OBJECT

private slots:
    void allThreeWindowsHaveAWholePixelFrame()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        HighscoreTableWindow table;
        NameEntryWindow entry(table);
        ResetQuestion question(table);
        checkFrameAtRatio2(table);
        checkFrameAtRatio2(entry);
        checkFrameAtRatio2(question);
    }
};

}  // namespace kv

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    kv::TestFrameRatio2 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frame_ratio2.moc"
