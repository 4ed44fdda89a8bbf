// What the player sees right after the program started, and what it read from P1.dat.
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QTextEdit>

#include "tests/game/ui/main_window_fixture.h"
#include "tests/game/ui_widgets/logical_pixel.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "game/ui/highscore/reset_question.h"
#include "game/ui/sound_files.h"
#include "game/ui/widgets/tree_canvas_widget.h"

using namespace kv;
using namespace kv::test;

using test::logicalPixel;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // One start-up, looked at as a whole: window, button column, board, title, score, tree,
    // hidden panels and windows, the bevel frame and the one sound.
    void startUpShowsTheEmptyGame()
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

        const struct {
            const char* name;
            QString caption;
            int top;
        } column[] = {{"startButton", QStringLiteral("Spiel &starten"), 295},
                      {"abortButton", QStringLiteral("Spiel &abbrechen"), 322},
                      {"soundButton", QStringLiteral("&Ton ausschalten"), 349},
                      {"baseColourButton", QStringLiteral("&Feldergrundfarbe ändern"), 376},
                      {"rulesButton", QStringLiteral("Spiel&regeln"), 403},
                      {"informationButton", QStringLiteral("&Information"), 430},
                      {"showTableButton", QStringLiteral("Highscore an&zeigen"), 457},
                      {"resetTableButton", QStringLiteral("Highscore er&neuern"), 484},
                      {"endButton", QStringLiteral("Programm &beenden"), 538}};
        for (const auto& row : column) {
            const QPushButton* button = play.button(row.name);
            QCOMPARE(button->text(), row.caption);
            QCOMPARE(button->geometry(), QRect(635, row.top, 130, 22));
            QVERIFY(button->font().pointSizeF() <= 8);
            QString shown = row.caption;
            shown.remove(u'&');
            QVERIFY2(button->fontMetrics().horizontalAdvance(shown) <= 130 - 10, row.name);
            QCOMPARE(button->palette().color(QPalette::Button), QColor(185, 255, 185));
            QVERIFY(button->isVisible());
        }

        for (int i = 0; i < kFieldCount; ++i) {
            QCOMPARE(play.field(i)->geometry(), QRect(37 + 63 * (i % 9), 17 + 63 * (i / 9), 62, 62));
            QCOMPARE(play.field(i)->baseColour(), QColor(230, 255, 230));
            QVERIFY(play.field(i)->isEnabled() && !play.field(i)->isDraggable());
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

        QCOMPARE(play.panel("rulesPanel")->geometry(), QRect(31, 13, 577, 574));
        QCOMPARE(play.panel("informationPanel")->geometry(), QRect(35, 15, 570, 570));
        QVERIFY(play.panel("rulesPanel")->isHidden() && play.panel("informationPanel")->isHidden());
        QVERIFY(!play.window->highscoreTable().isVisible());
        QVERIFY(!play.window->nameEntry().isVisible());
        QVERIFY(!play.window->resetQuestion().isVisible());

        // The bevel frame: the side lines are drawn last and own the corners.
        const QImage shot = play.window->grab().toImage();
        QCOMPARE(shot.size(), QSize(800, 600) * qRound(play.window->devicePixelRatioF()));
        const struct {
            int x;
            int y;
            QColor colour;
        } frame[] = {{5, 5, {0, 128, 0}},    {400, 0, {0, 245, 0}}, {400, 1, {0, 210, 0}},
                     {400, 2, {0, 175, 0}},  {400, 3, {0, 140, 0}}, {400, 596, {0, 80, 0}},
                     {400, 599, {0, 5, 0}},  {0, 300, {0, 245, 0}}, {3, 300, {0, 140, 0}},
                     {796, 300, {0, 80, 0}}, {799, 300, {0, 5, 0}}, {0, 599, {0, 245, 0}},
                     {799, 0, {0, 5, 0}}};
        for (const auto& point : frame)
            QCOMPARE(logicalPixel(shot, point.x, point.y), point.colour);
        QVERIFY(play.window->frameVisible());

        QCOMPARE(play.sound.log, QStringList{"sounds/sound1.wav 1"});
        QVERIFY(play.window->game().state().soundOn);
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
        QVERIFY(window.findChild<NameEntryWindow*>() != nullptr &&
                window.findChild<ResetQuestion*>() != nullptr);
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

    // The lowest highscore is the tenth record's points; a file that cannot be read counts as 0.
    void lowestHighscoreComesFromTheTenthRecord_data()
    {
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("tenth");
        QTest::addColumn<int>("lowest");
        QTest::newRow("shipped file") << true << 0 << 0;
        QTest::newRow("tenth record 57") << true << 57 << 57;
        QTest::newRow("no file") << false << 57 << 0;
    }

    void lowestHighscoreComesFromTheTenthRecord()
    {
        QFETCH(bool, written);
        QFETCH(int, tenth);
        QFETCH(int, lowest);
        TempFolder folder;
        HighscoreTable table = shippedHighscoreTable();
        table[9].points = static_cast<std::int16_t>(tenth);
        table[10].points = 3;
        if (written)
            folder.writeTable(table);
        RecordingSound sound;
        ScriptedRandom random;
        SteppingRandom treeRandom;
        MainWindow window(MainWindowSetup{&random, &treeRandom, &sound, folder.path()});
        QCOMPARE(window.game().state().lowestHighscore, lowest);
        QCOMPARE(sound.log, QStringList{"sounds/sound1.wav 1"});
    }
    // The file each of the rules' sounds is played from, relative to the working directory.
    void everySoundHasItsFile()
    {
        const std::pair<Sound, const char*> files[] = {
            {Sound::ProgramStart, "sounds/sound1.wav"}, {Sound::FieldsPlaced, "sounds/sound2.wav"},
            {Sound::Stripe, "sounds/sound3.wav"},       {Sound::Square, "sounds/sound4.wav"},
            {Sound::BlockedField, "sounds/sound5.wav"}, {Sound::HighscoreTable, "sounds/sound6.wav"},
            {Sound::GameOver, "sounds/sound7.wav"}};
        for (const auto& [sound, file] : files)
            QCOMPARE(std::string(soundFile(sound)), std::string(file));
    }
};

QTEST_MAIN(StartupTest)
#include "test_main_window_startup.moc"
