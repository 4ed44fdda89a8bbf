// Games played through the window: start, moves through the field widgets, a stripe, a flash,
// a blocked field, a whole game to the name entry, and an abort.
#include <QApplication>
#include <QTimer>
#include <optional>

#include "tests/game/ui/main_window_fixture.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "game/ui/widgets/board_cursor.h"
#include "game/ui/widgets/tree_canvas_widget.h"

using namespace kv;
using namespace kv::test;

namespace {

// A colouring of the whole board in which no five fields in a line and no three-by-three square
// share a colour: every step along a row, column or diagonal changes the colour.
int patternColour(int index)
{
    return (index % 9 + 3 * (index / 9)) % 7;
}

// Start with red on 0, 1 and 2; a click on 0 brings red on 3 and 20 and the pattern colour on
// 60. Dragging 20 onto 4 then completes the red stripe 0 to 4.
void scriptStripeOpening(Play& play)
{
    play.random.add(placements({{0, 0}, {1, 0}, {2, 0}}));
    play.random.add(placements({{3, 0}, {20, 0}, {60, patternColour(60)}}));
    play.random.add(quietRandomEvents());
    play.click("startButton");
    play.drop(0, 0);
}

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT

private slots:
    void startAndMovesShowTheirResults()
    {
        Play play;
        play.click("rulesButton");
        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");

        QCOMPARE(play.picturesShown(), 3);
        QCOMPARE(play.field(10)->picture(), PaletteIndex{2});
        QCOMPARE(play.field(44)->picture(), PaletteIndex{7});
        QCOMPARE(play.field(80)->picture(), PaletteIndex{5});
        QVERIFY(play.field(44)->isDraggable());
        QVERIFY(!play.field(45)->isDraggable());
        QCOMPARE(play.sound.log, (QStringList{"sounds/sound1.wav 1", "sounds/sound2.wav 1"}));
        QVERIFY(play.button("startButton")->isHidden());
        QVERIFY(play.panel("rulesPanel")->isHidden());

        // A drop moves the field and brings three new ones.
        play.random.add(placements({{0, 1}, {1, 3}, {2, 4}}));
        play.random.add(quietRandomEvents());
        play.drop(12, 10);

        QCOMPARE(play.field(12)->picture(), PaletteIndex{2});
        QVERIFY(!play.field(10)->picture().has_value());
        QVERIFY(play.field(10)->isDraggable());  // a vacated field stays draggable
        QCOMPARE(play.picturesShown(), 6);
        QCOMPARE(play.sound.log.last(), QStringLiteral("sounds/sound2.wav 1"));
        QCOMPARE(play.label("scoreLabel")->text(), QStringLiteral("0"));
        QCOMPARE(play.random.remaining(), std::size_t{0});

        // A blocked field: its sound is waited for.
        play.random.add(placements({{3, 1}, {4, 3}, {5, 4}}));
        play.random.add({kNoChance, wipeOf(0), kChance, fieldAt(50)});
        play.drop(12, 12);
        QCOMPARE(play.field(50)->picture(), PaletteIndex{9});
        QVERIFY(!play.field(50)->isDraggable());
        QCOMPARE(play.sound.log.last(), QStringLiteral("sounds/sound5.wav 0"));
        QCOMPARE(play.picturesShown(), 10);
    }

    void stripeScoresAndGrowsANewTree()
    {
        Play play;
        scriptStripeOpening(play);
        const QImage treeBefore = play.window->treeCanvas()->image();
        // Runs in the tree's yield, while the stripe is being handled.
        std::optional<bool> dragDuringMove;
        QTimer::singleShot(0, play.window.get(), [&] { dragDuringMove = play.field(60)->canStartDrag(); });
        play.drop(4, 20);
        QCOMPARE(dragDuringMove, std::optional<bool>(false));
        QVERIFY(play.field(60)->canStartDrag());

        QCOMPARE(play.label("scoreLabel")->text(), QStringLiteral("4"));
        QCOMPARE(play.sound.log.last(), QStringLiteral("sounds/sound3.wav 1"));
        for (const int i : {0, 1, 2, 3, 4, 20})
            QVERIFY(!play.field(i)->picture().has_value());
        QCOMPARE(play.picturesShown(), 1);
        QVERIFY(play.window->treeCanvas()->image() != treeBefore);

        // An abort clears the board and the score and gives the start button back.
        play.click("informationButton");
        play.click("abortButton");
        QCOMPARE(play.picturesShown(), 0);
        QCOMPARE(play.label("scoreLabel")->text(), QStringLiteral("0"));
        QVERIFY(play.button("startButton")->isVisible());
        QCOMPARE(play.window->focusWidget(), play.button("startButton"));
        QVERIFY(play.panel("informationPanel")->isHidden());
        QVERIFY(!play.window->nameEntry().isVisible());
        for (int i = 0; i < kFieldCount; ++i)
            QVERIFY(play.field(i)->isEnabled() && !play.field(i)->isDraggable());
    }

    void flashMarksAndClearsAfter400Ms()
    {
        Play play;
        play.random.add(placements({{10, 2}, {11, 2}, {80, 5}}));
        play.click("startButton");
        play.random.add(placements({{30, 2}, {31, 4}, {32, 6}}));
        play.random.add({kChance, wipeOf(2), kNoChance, fieldAt(0)});
        play.drop(10, 10);

        QCOMPARE(play.window->background(), QColor(240, 240, 70));
        QCOMPARE(play.label("titleLabel")->palette().color(QPalette::Window), QColor(240, 240, 70));
        QCOMPARE(play.window->grab().toImage().pixelColor(0, 0), QColor(240, 240, 70));
        for (const int i : {10, 11, 30})
            QCOMPARE(play.field(i)->picture(), PaletteIndex{8});
        QCOMPARE(play.field(31)->picture(), PaletteIndex{4});

        QTRY_VERIFY_WITH_TIMEOUT(play.window->frameVisible(), 2000);
        for (const int i : {10, 11, 30})
            QVERIFY(!play.field(i)->picture().has_value());
        QCOMPARE(play.field(31)->picture(), PaletteIndex{4});
        QCOMPARE(play.window->background(), QColor(0, 127, 0));
        QCOMPARE(play.label("titleLabel")->palette().color(QPalette::Window), QColor(0, 127, 0));
        const QImage shot = play.window->grab().toImage();
        QCOMPARE(shot.pixelColor(0, 300), QColor(0, 245, 0));
        QCOMPARE(shot.pixelColor(5, 5), QColor(0, 127, 0));
    }

    void fullGameEndsInTheNameEntry()
    {
        Play play;
        bool entryOpenDuringEndSound = true;
        play.sound.onPlay = [&](const QString& call) {
            if (call == QLatin1String("sounds/sound7.wav 0"))
                entryOpenDuringEndSound = play.window->nameEntry().isVisible();
        };
        scriptStripeOpening(play);
        play.drop(4, 20);
        QCOMPARE(play.label("scoreLabel")->text(), QStringLiteral("4"));

        // Fill every free field in index order with the pattern, three per plain click on 60.
        std::vector<Placement> free;
        for (int i = 0; i < kFieldCount; ++i)
            if (i != 60)
                free.push_back({i, patternColour(i)});
        for (std::size_t n = 0; n < free.size(); n += 3) {
            const std::size_t end = std::min(free.size(), n + 3);
            play.random.add(placements(std::vector<Placement>(free.begin() + n, free.begin() + end)));
            if (end < free.size())
                play.random.add(quietRandomEvents());
        }
        while (play.random.remaining() > 0 && play.field(60)->isEnabled())
            play.drop(60, 60);

        QCOMPARE(play.random.remaining(), std::size_t{0});
        QCOMPARE(play.picturesShown(), kFieldCount);
        QCOMPARE(play.sound.log.last(), QStringLiteral("sounds/sound7.wav 0"));
        QVERIFY(!entryOpenDuringEndSound);
        QVERIFY(play.window->nameEntry().isVisible());
        QCOMPARE(play.window->highscoreTable().pointsCell(HighscoreTableWindow::kResultRow),
                 QStringLiteral("4"));
        for (int i = 0; i < kFieldCount; ++i)
            QVERIFY(!play.field(i)->isEnabled());
        QVERIFY(play.button("startButton")->isHidden());

        // A drop on the finished board changes nothing.
        const std::string before = play.pictures();
        play.drop(60, 59);
        QCOMPARE(play.pictures(), before);
    }

    // Keyboard play from one Tab stop: the cursor shows at the first key, Space picks up only
    // what a drag could take, Escape puts it back, Return drops through the move handler (also
    // on the field itself), and the buttons' access keys keep working.
    void keyboardPlaysThroughTheSameMoves()
    {
        Play play;
        BoardCursor* board = play.window->boardCursor();
        auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        auto keys = [&](Qt::Key k, int times) {
            for (int i = 0; i < times; ++i)
                key(k);
        };
        QVERIFY(!board->cursorShown());
        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");
        key(Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), board);
        QVERIFY(board->cursorShown());
        QCOMPARE(board->cursor(), 40);

        key(Qt::Key_Space);  // a free field cannot be picked up
        QCOMPARE(board->pickedUp(), std::nullopt);
        keys(Qt::Key_Right, 4);
        key(Qt::Key_Space);
        QCOMPARE(board->pickedUp(), std::optional<int>(44));
        key(Qt::Key_Escape);
        QCOMPARE(board->pickedUp(), std::nullopt);
        key(Qt::Key_Space);
        keys(Qt::Key_Left, 2);
        keys(Qt::Key_Up, 5);  // stops at the top row
        QCOMPARE(board->cursor(), 6);
        keys(Qt::Key_Down, 4);
        play.random.add(placements({{0, 1}, {1, 3}, {2, 4}}));
        play.random.add(quietRandomEvents());
        key(Qt::Key_Return);
        QCOMPARE(play.field(42)->picture(), PaletteIndex{7});
        QVERIFY(!play.field(44)->picture().has_value());
        QCOMPARE(play.picturesShown(), 6);
        QCOMPARE(play.field(42)->accessibleName(), QStringLiteral("Feld 5,7: Joker"));
        QCOMPARE(play.field(44)->accessibleName(), QStringLiteral("Feld 5,9: frei"));
        QCOMPARE(play.field(1)->accessibleName(), QStringLiteral("Feld 1,2: grün"));

        // Picked up and dropped on itself: the fruitless move, as a click.
        play.random.add(placements({{3, 0}, {4, 6}, {5, 2}}));
        play.random.add(quietRandomEvents());
        key(Qt::Key_Space);
        key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(play.picturesShown(), 9);
        QCOMPARE(play.random.remaining(), std::size_t{0});

        // An abort between pick-up and drop leaves nothing in hand to drop.
        key(Qt::Key_Space);
        key(Qt::Key_A, Qt::AltModifier);  // clicks after the button's press animation
        QTRY_COMPARE(play.picturesShown(), 0);
        key(Qt::Key_Backtab);  // the abort gave the start button the focus
        QCOMPARE(board->pickedUp(), std::optional<int>(42));
        key(Qt::Key_Return);
        QCOMPARE(board->pickedUp(), std::nullopt);
        QCOMPARE(play.picturesShown(), 0);
    }
};

QTEST_MAIN(PlayTest)
#include "test_main_window_play.moc"
