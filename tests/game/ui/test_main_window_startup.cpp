// What the player sees right after the program started, and what it read from P1.dat.
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QTextEdit>

#include "main_window_fixture.h"
#include "ui/highscore/highscore_table_window.h"
#include "ui/highscore/name_entry_window.h"
#include "ui/highscore/reset_question.h"
#include "ui/widgets/tree_canvas_widget.h"

using namespace kv;
using namespace kv::test;

namespace {

// The colour of logical pixel (x, y) of a grab at any pixel ratio; invalid unless every device
// pixel inside it has that colour, so a blurred line does not pass.
QColor pixel(const QImage& image, int x, int y)
{
    const int ratio = qRound(image.devicePixelRatio());
    const QColor colour = image.pixelColor(x * ratio, y * ratio);
    for (int dy = 0; dy < ratio; ++dy)
        for (int dx = 0; dx < ratio; ++dx)
            if (image.pixelColor(x * ratio + dx, y * ratio + dy) != colour)
                return QColor();
    return colour;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsCentredAndSized()
    {
        Play play;
        QCOMPARE(play.window->size(), QSize(800, 600));
        QCOMPARE(play.window->minimumSize(), play.window->maximumSize());
        QVERIFY(play.window->windowTitle().isEmpty());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(play.window->pos(), QPoint(screen.left() + (screen.width() - 800) / 2,
                                            screen.top() + (screen.height() - 600) / 2));
        QCOMPARE(play.window->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(play.window->font().pointSize(), 24);
    }

    void buttonColumn_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("top");
        QTest::newRow("start") << "startButton" << "Spiel &starten" << 295;
        QTest::newRow("abort") << "abortButton" << "Spiel &abbrechen" << 322;
        QTest::newRow("sound") << "soundButton" << "&Ton ausschalten" << 349;
        QTest::newRow("colour") << "baseColourButton" << "&Feldergrundfarbe ändern" << 376;
        QTest::newRow("rules") << "rulesButton" << "Spiel&regeln" << 403;
        QTest::newRow("information") << "informationButton" << "&Information" << 430;
        QTest::newRow("table") << "showTableButton" << "Highscore an&zeigen" << 457;
        QTest::newRow("reset") << "resetTableButton" << "Highscore er&neuern" << 484;
        QTest::newRow("end") << "endButton" << "Programm &beenden" << 538;
    }

    void buttonColumn()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, top);
        Play play;
        const QPushButton* button = play.button(name.toLatin1().constData());
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->geometry(), QRect(635, top, 130, 22));
        QVERIFY(button->font().pointSizeF() <= 8);
        QString shown = caption;
        shown.remove(u'&');
        QVERIFY(button->fontMetrics().horizontalAdvance(shown) <= 130 - 10);
        QCOMPARE(button->palette().color(QPalette::Button), QColor(185, 255, 185));
        QVERIFY(button->isVisible());
    }

    void boardTitleScoreAndTree()
    {
        Play play;
        for (const int i : {0, 8, 40, 72, 80}) {
            QCOMPARE(play.field(i)->geometry(), QRect(37 + 63 * (i % 9), 17 + 63 * (i / 9), 62, 62));
        }
        for (int i = 0; i < kFieldCount; ++i) {
            QCOMPARE(play.field(i)->baseColour(), QColor(230, 255, 230));
            QVERIFY(play.field(i)->isEnabled());
            QVERIFY(!play.field(i)->isDraggable());
        }
        QCOMPARE(play.picturesShown(), 0);

        const QLabel* title = play.label("titleLabel");
        QCOMPARE(title->text(), QStringLiteral("KARVELO"));
        QCOMPARE(title->geometry(), QRect(622, 22, 161, 34));
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(230, 255, 230));
        QCOMPARE(title->palette().color(QPalette::Window), QColor(0, 128, 0));

        const QLabel* score = play.label("scoreLabel");
        QCOMPARE(score->text(), QStringLiteral("0"));
        QCOMPARE(score->geometry(), QRect(656, 70, 90, 37));
        QVERIFY(score->font().bold());
        QCOMPARE(score->font().pointSize(), 24);
        QCOMPARE(score->alignment(), Qt::AlignCenter);

        const TreeCanvasWidget* canvas = play.window->treeCanvas();
        QCOMPARE(canvas->geometry(), QRect(624, 125, 152, 152));
        QCOMPARE(canvas->backgroundColour(), QColor(230, 255, 230));
        const QImage tree = canvas->image();
        QSet<QRgb> colours;
        for (int y = 0; y < tree.height(); ++y)
            for (int x = 0; x < tree.width(); ++x)
                colours.insert(tree.pixel(x, y));
        QVERIFY(colours.contains(QColor(230, 255, 230).rgb()));
        QVERIFY(colours.contains(QColor(0, 128, 0).rgb()));

        QVERIFY(play.button("startButton")->isVisible());
        QVERIFY(play.panel("rulesPanel")->isHidden());
        QVERIFY(play.panel("informationPanel")->isHidden());
        QCOMPARE(play.panel("rulesPanel")->geometry(), QRect(31, 13, 577, 574));
        QCOMPARE(play.panel("informationPanel")->geometry(), QRect(35, 15, 570, 570));
        QVERIFY(!play.window->highscoreTable().isVisible());
        QVERIFY(!play.window->nameEntry().isVisible());
        QVERIFY(!play.window->resetQuestion().isVisible());
    }

    void panelsAndHighscoreWindowsAreMadeWhenFirstAskedFor()
    {
        TempFolder folder;
        folder.writeTable(shippedHighscoreTable());
        ScriptedRandom random;
        SteppingRandom treeRandom;
        RecordingSound sound;
        MainWindow window(MainWindowSetup{&random, &treeRandom, &sound, folder.path()});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.findChild<QTextEdit*>(QStringLiteral("rulesPanel")) == nullptr);
        QVERIFY(window.findChild<HighscoreTableWindow*>() == nullptr);
        window.informationPanel();
        window.resetQuestion();
        QVERIFY(window.findChild<QTextEdit*>(QStringLiteral("rulesPanel")) != nullptr);
        QVERIFY(window.findChild<HighscoreTableWindow*>() != nullptr);
        QVERIFY(window.findChild<NameEntryWindow*>() != nullptr && window.findChild<ResetQuestion*>() != nullptr);
        QVERIFY(!window.findChild<HighscoreTableWindow*>()->isVisible());
        QTextEdit* rules = window.findChild<QTextEdit*>(QStringLiteral("rulesPanel"));
        QTextEdit* information = window.findChild<QTextEdit*>(QStringLiteral("informationPanel"));
        QVERIFY(information != nullptr);
        QVERIFY(rules->isHidden() && information->isHidden());
        rules->show();
        // A field under the panel's middle is covered by it.
        QWidget* top = window.childAt(320, 300);
        QVERIFY(top != nullptr);
        QVERIFY(top == rules || rules->isAncestorOf(top));
    }

    void bevelFrameAroundTheWindow()
    {
        Play play;
        const QImage shot = play.window->grab().toImage();
        QCOMPARE(shot.size(), QSize(800, 600) * qRound(play.window->devicePixelRatioF()));
        QCOMPARE(pixel(shot, 5, 5), QColor(0, 128, 0));
        QCOMPARE(pixel(shot, 400, 0), QColor(0, 245, 0));
        QCOMPARE(pixel(shot, 400, 1), QColor(0, 210, 0));
        QCOMPARE(pixel(shot, 400, 2), QColor(0, 175, 0));
        QCOMPARE(pixel(shot, 400, 3), QColor(0, 140, 0));
        QCOMPARE(pixel(shot, 400, 596), QColor(0, 80, 0));
        QCOMPARE(pixel(shot, 400, 599), QColor(0, 5, 0));
        QCOMPARE(pixel(shot, 0, 300), QColor(0, 245, 0));
        QCOMPARE(pixel(shot, 3, 300), QColor(0, 140, 0));
        QCOMPARE(pixel(shot, 796, 300), QColor(0, 80, 0));
        QCOMPARE(pixel(shot, 799, 300), QColor(0, 5, 0));
        // The side lines are drawn last and own the corners.
        QCOMPARE(pixel(shot, 0, 599), QColor(0, 245, 0));
        QCOMPARE(pixel(shot, 799, 0), QColor(0, 5, 0));
        QVERIFY(play.window->frameVisible());
    }

    void startSoundIsTheOnlySound()
    {
        Play play;
        QCOMPARE(play.sound.log, QStringList{"sounds/sound1.wav 1"});
        QVERIFY(play.window->game().state().soundOn);
    }

    void lowestHighscoreComesFromTheTenthRecord()
    {
        {
            Play play;
            QCOMPARE(play.window->game().state().lowestHighscore, 0);
        }
        TempFolder folder;
        HighscoreTable table = shippedHighscoreTable();
        table[9].points = 57;
        table[10].points = 3;
        folder.writeTable(table);
        RecordingSound sound;
        ScriptedRandom random;
        SteppingRandom treeRandom;
        MainWindow window(MainWindowSetup{&random, &treeRandom, &sound, folder.path()});
        QCOMPARE(window.game().state().lowestHighscore, 57);
    }

    void missingHighscoreFileCountsAsZero()
    {
        TempFolder folder;
        RecordingSound sound;
        ScriptedRandom random;
        SteppingRandom treeRandom;
        MainWindow window(MainWindowSetup{&random, &treeRandom, &sound, folder.path() / "absent"});
        QCOMPARE(window.game().state().lowestHighscore, 0);
        QCOMPARE(sound.log, QStringList{"sounds/sound1.wav 1"});
    }
};

QTEST_MAIN(StartupTest)
#include "test_main_window_startup.moc"
