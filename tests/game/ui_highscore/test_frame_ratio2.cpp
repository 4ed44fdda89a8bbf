// The windows' one-pixel frame on a screen with two device pixels per pixel: two device pixels
// of black along every edge, and the light green right inside.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "game/ui/highscore/reset_question.h"
#include "tests/game/ui_highscore/window_checks.h"

namespace kv {

class TestFrameRatio2 : public QObject {
    Q_OBJECT

private slots:
    void allThreeWindowsHaveAWholePixelFrame()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        HighscoreTableWindow table;
        NameEntryWindow entry(table);
        ResetQuestion question(table);
        test::checkFramedWindow(table, 392, 267);
        test::checkFramedWindow(entry, 219, 136);
        test::checkFramedWindow(question, 250, 144);
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
