// The button column: panels, base colour, sound switch, the highscore windows, access keys and
// the end of the program.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <filesystem>

#include "tests/game/ui/main_window_fixture.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/reset_question.h"
#include "game/ui/info_panels.h"

using namespace kv;
using namespace kv::test;

namespace {

void pressAlt(const Play& play, Qt::Key key)
{
    QTest::keyClick(play.window.get(), key, Qt::AltModifier);
}

// The rules as the panel must show them, typed out here so that a slip in the program's copy
// shows up.
const QString kRulesText =
    QStringLiteral("                                \n"
                   "      Es geht darum, eine möglichst hohe Punktezahl zu erreichen.\n"
                   "      Punkte werden erzielt durch Verschieben (Drag&Drop) von Feldern, um Strei-\n"
                   "fen oder Quadrate mit gleichfarbigen Feldern zu bilden. Verschiebbar sind nur\n"
                   "gefüllte Felder. Es darf beliebig über andere Felder hinweg verschoben werden.\n"
                   "Die Streifen bestehen aus fünf Feldern, die horizontal, vertikal oder diagonal ver-\n"
                   "laufen. Die Quadrate bestehen aus drei mal drei Feldern.\n"
                   "      Es werden am Spielanfang und nach jedem Spielzug, der nicht zum Löschen\n"
                   "eines Streifens oder Quadrats führt, drei Felder gefüllt.\n"
                   "      Wird ein Streifen oder Quadrat erzielt, löst er oder es sich auf, und dem Spie-\n"
                   "ler werden vier beziehungsweise siebzehn Punkte angerechnet.\n"
                   "      Das Spiel endet, wenn keine Felder mehr frei sind.\n"
                   "      Nach Bildung und Auflösung eines Quadrats werden dem Spieler nicht nur\n"
                   "siebzehn Punkte gutgeschrieben: Als weitere Belohnung werden alle Felder einer\n"
                   "(zufällig) bestimmten Farbe blitzartig gelöscht.\n"
                   "      Ueberdies erfolgt zwischendurch gelegentlich und rein zufällig (unabhängig\n"
                   "vom Erreichen von Streifen oder Quadraten) die Auflösung aller Felder einer\n"
                   "Farbe blitzartig.\n"
                   "      Ab und zu werden umgekehrt Felder schwarz-grau und unheilbar besetzt.\n"
                   "      Die vielfarbigen Felder können als beliebige Farbfelder verwendet werden - es\n"
                   "sind Joker.\n"
                   "                                \n"
                   "      Das Bäumchen auf der rechten Seite hat direkt nichts mit dem Spiel zu tun.\n"
                   "Es wächst bei jedem Erzielen und Erlöschen eines Streifens oder Quadrats ganz\n"
                   "von neuem, und zwar jedesmal als noch nie dagewesenes Bäumchen. Kein Spie-\n"
                   "ler wird zweimal dasselbe Bäumchen sehen, weil es unendlich viele davon gibt...\n"
                   "                                \n"
                   "      Viel Vergnügen!\n");

// The panel's text is in sight as a whole: nothing to scroll, and no scroll bar covering text.
void checkWholeTextInSight(QTextEdit* panel)
{
    QCOMPARE(panel->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(panel->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(panel->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(panel->verticalScrollBar()->maximum(), 0);
    const QSizeF text = panel->document()->size();
    QVERIFY2(text.width() <= panel->viewport()->width() && text.height() <= panel->viewport()->height(),
             qPrintable(QStringLiteral("text %1 x %2 in a viewport of %3 x %4")
                            .arg(text.width())
                            .arg(text.height())
                            .arg(panel->viewport()->width())
                            .arg(panel->viewport()->height())));
    QCOMPARE(panel->viewport()->size(), panel->contentsRect().size());
    for (QTextBlock block = panel->document()->begin(); block.isValid(); block = block.next())
        QCOMPARE(block.layout()->lineCount(), 1);
}

}  // namespace

class ButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void panelsToggleAndCloseEachOther()
    {
        Play play;
        QTextEdit* rules = play.panel("rulesPanel");
        QTextEdit* information = play.panel("informationPanel");
        play.click("rulesButton");
        QVERIFY(rules->isVisible() && information->isHidden());
        play.click("rulesButton");
        QVERIFY(rules->isHidden() && information->isHidden());

        play.click("rulesButton");
        play.click("informationButton");
        QVERIFY(rules->isHidden() && information->isVisible());
        play.click("rulesButton");
        QVERIFY(rules->isVisible() && information->isHidden());

        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");
        QVERIFY(rules->isHidden());
        play.click("informationButton");
        play.click("abortButton");
        QVERIFY(information->isHidden());
    }

    void panelsShowTheirTextsReadOnly()
    {
        Play play;
        QTextEdit* rules = play.panel("rulesPanel");
        QVERIFY(rules->isReadOnly());
        QCOMPARE(rules->toPlainText(), kRulesText);
        QCOMPARE(rules->toPlainText().count(u'\n'), 28);
        QVERIFY(rules->font().pointSizeF() <= 12 && rules->font().pointSizeF() >= 6);
        // Line by line, whatever the installed font: no line is broken or out of sight.
        play.click("rulesButton");
        QVERIFY(QTest::qWaitForWindowExposed(play.window.get()));
        checkWholeTextInSight(rules);
        QCOMPARE(rules->palette().color(QPalette::Base), QColor(Qt::white));

        QTextEdit* information = play.panel("informationPanel");
        QVERIFY(information->isReadOnly());
        QCOMPARE(information->palette().color(QPalette::Base), QColor(192, 255, 192));
        const QStringList info = informationLines();
        QCOMPARE(info.size(), 25);
        QCOMPARE(info[4], QStringLiteral("KARVELO"));
        QCOMPARE(info[5], QStringLiteral("Version 1.01"));
        QCOMPARE(info[6], QStringLiteral("8.99"));
        QCOMPARE(info[10], QStringLiteral("Brettspiel"));
        for (int n = 11; n < 22; ++n)
            QVERIFY(info[n].trimmed().isEmpty() && !info[n].isEmpty());
        QCOMPARE(information->toPlainText(), info.join(u'\n') + u'\n');
        for (QTextBlock block = information->document()->begin(); block.isValid(); block = block.next())
            QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        play.click("informationButton");
        checkWholeTextInSight(information);
    }

    void baseColourCyclesInSixStepsAndKeepsPictures()
    {
        Play play;
        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");
        const std::string pictures = play.pictures();
        const QList<QColor> cycle = {QColor(255, 255, 255), QColor(230, 230, 230), QColor(195, 195, 195),
                                     QColor(0, 0, 0),       QColor(255, 230, 230), QColor(230, 255, 230)};
        for (const QColor& expected : cycle) {
            play.click("baseColourButton");
            for (const int i : {0, 10, 40, 80})
                QCOMPARE(play.field(i)->baseColour(), expected);
            QCOMPARE(play.pictures(), pictures);
        }
        // A colour outside the cycle stays, and so do the other fields.
        play.field(0)->setBaseColour(QColor(1, 2, 3));
        play.click("baseColourButton");
        QCOMPARE(play.field(0)->baseColour(), QColor(1, 2, 3));
        QCOMPARE(play.field(1)->baseColour(), QColor(230, 255, 230));
    }

    void soundSwitchFollowsTheCaption()
    {
        Play play;
        QPushButton* toggle = play.button("soundButton");
        play.click("soundButton");
        QCOMPARE(toggle->text(), QStringLiteral("Ton &einschalten"));
        QVERIFY(!play.window->game().state().soundOn);

        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");
        play.click("showTableButton");
        QCOMPARE(play.sound.log, QStringList{"sounds/sound1.wav 1"});
        QVERIFY(play.window->highscoreTable().isVisible());

        play.click("soundButton");
        QCOMPARE(toggle->text(), QStringLiteral("Ton &ausschalten"));
        QVERIFY(play.window->game().state().soundOn);
        play.click("soundButton");
        QCOMPARE(toggle->text(), QStringLiteral("Ton &einschalten"));
        QVERIFY(!play.window->game().state().soundOn);
    }

    // A mnemonic clicks its button after a short press animation, hence the waits. The table
    // opens with its sound and the stored results.
    void accessKeysPressTheButtons()
    {
        Play play;
        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        pressAlt(play, Qt::Key_S);
        QTRY_COMPARE(play.picturesShown(), 3);
        pressAlt(play, Qt::Key_A);
        QTRY_COMPARE(play.picturesShown(), 0);
        pressAlt(play, Qt::Key_T);
        QTRY_VERIFY(!play.window->game().state().soundOn);
        pressAlt(play, Qt::Key_E);  // "Ton &einschalten"
        QTRY_VERIFY(play.window->game().state().soundOn);
        pressAlt(play, Qt::Key_F);
        QTRY_COMPARE(play.field(0)->baseColour(), QColor(255, 255, 255));
        pressAlt(play, Qt::Key_R);
        QTRY_VERIFY(play.panel("rulesPanel")->isVisible());
        pressAlt(play, Qt::Key_I);
        QTRY_VERIFY(play.panel("informationPanel")->isVisible());
        pressAlt(play, Qt::Key_Z);
        QTRY_VERIFY(play.window->highscoreTable().isVisible());
        QCOMPARE(play.sound.log.last(), QStringLiteral("sounds/sound6.wav 1"));  // the table's sound
        QCOMPARE(play.window->highscoreTable().pointsCell(0), QStringLiteral("100"));
        // The table took the keyboard; its own button gives it back.
        play.window->highscoreTable().hide();
        play.window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), play.window.get());
        pressAlt(play, Qt::Key_N);
        QTRY_VERIFY(play.window->resetQuestion().isVisible());
    }

    // Last: these run the application's event loop until the window ends it.
    void endButtonQuitsWithoutWriting()
    {
        Play play;
        play.random.add(placements({{10, 2}, {44, 7}, {80, 5}}));
        play.click("startButton");
        const std::string before = play.folder.bytes();
        const auto stamp = std::filesystem::last_write_time(play.folder.highscoreFile());
        QTimer::singleShot(0, play.window.get(), [&play] { pressAlt(play, Qt::Key_B); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(play.folder.bytes(), before);
        QCOMPARE(std::filesystem::last_write_time(play.folder.highscoreFile()), stamp);
    }

    void closingTheWindowQuits()
    {
        Play play;
        QTimer::singleShot(0, play.window.get(), [&play] { play.window->close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(ButtonsTest)
#include "test_main_window_buttons.moc"
