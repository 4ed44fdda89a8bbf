#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/reset_question.h"
#include "tests/game/ui_highscore/highscore_folder.h"
#include "tests/game/ui_highscore/window_checks.h"

namespace kv {
namespace {

QPushButton* yes(ResetQuestion& question)
{
    return question.findChild<QPushButton*>(QStringLiteral("yesButton"));
}
QPushButton* no(ResetQuestion& question)
{
    return question.findChild<QPushButton*>(QStringLiteral("noButton"));
}
QPushButton* tableButton(HighscoreTableWindow& table)
{
    return table.findChild<QPushButton*>(QStringLiteral("continueButton"));
}

int visibleWindows()
{
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        count += widget->isVisible() ? 1 : 0;
    return count;
}

// Counts how often `window` is raised or lowered among the windows.
class ZOrderChanges : public QObject {
public:
    explicit ZOrderChanges(QWidget& window) { window.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::ZOrderChange;
        return false;
    }
    int count = 0;
};

void checkBlankFileAndTable(const test::HighscoreFolder& folder, const HighscoreTableWindow& table)
{
    QCOMPARE(folder.bytes(), test::blankFileBytes());
    QVERIFY(table.isVisible());
    for (int row = 0; row < HighscoreTableWindow::kRows; ++row) {
        QCOMPARE(table.pointsCell(row), QStringLiteral("0"));
        QCOMPARE(table.nameCell(row), QString(20, ' '));
        QCOMPARE(table.dateCell(row), QString(17, ' '));
    }
}

}  // namespace

class TestResetQuestion : public QObject {
    Q_OBJECT

private slots:
    void createdHiddenCentredAndFramed()
    {
        HighscoreTableWindow table;
        ResetQuestion question(table);
        QVERIFY(question.isWindow());
        QVERIFY(!question.isVisible());
        QCOMPARE(question.windowTitle(), QString());
        test::checkCentred(question);
        test::checkFramedWindow(question, 250, 144);
        auto* text = question.findChild<QLabel*>(QStringLiteral("questionLabel"));
        QCOMPARE(text->text(), QStringLiteral("Soll das Highscore wirklich gelöscht werden?"));
        QCOMPARE(text->geometry(), QRect(19, 41, 215, 18));
        QCOMPARE(yes(question)->text(), QStringLiteral("&ja"));
        QCOMPARE(yes(question)->geometry(), QRect(43, 80, 66, 24));
        QCOMPARE(no(question)->text(), QStringLiteral("&nein"));
        QCOMPARE(no(question)->geometry(), QRect(142, 80, 66, 24));
        for (QPushButton* button : {yes(question), no(question)}) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
            QCOMPARE(button->palette().color(QPalette::Button), QColor(128, 255, 128));
        }
    }

    void questionAndCaptionsFitTheirBoxes()
    {
        HighscoreTableWindow table;
        ResetQuestion question(table);
        auto* text = question.findChild<QLabel*>(QStringLiteral("questionLabel"));
        test::checkLabelFits(text);
        test::checkCaptionsFit(yes(question), {yes(question)->text()});
        test::checkCaptionsFit(no(question), {no(question)->text()});
    }

    void noLeavesTheFileByteForByte()
    {
        test::HighscoreFolder folder;
        // A file with more than eleven records and odd bytes: nothing may normalise it.
        QByteArray content = QByteArray("\x05\x01", 2) + QByteArray(37, 'x') + QByteArray(400, '\0') + "tail";
        folder.setBytes(content);
        HighscoreTableWindow table(folder.path());
        ResetQuestion question(table, folder.path());
        question.ask();
        QVERIFY(question.isVisible());
        QTest::mouseClick(no(question), Qt::LeftButton);
        QVERIFY(!question.isVisible());
        QVERIFY(!table.isVisible());
        QCOMPARE(folder.bytes(), content);

        question.ask();
        QVERIFY(test::activate(question));
        QTest::keyClick(&question, Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!question.isVisible());
        QCOMPARE(folder.bytes(), content);
    }

    void yesBlanksTheShippedFileAndShowsTheEmptyTable()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        ResetQuestion question(table, folder.path());
        table.displayTable();
        QCOMPARE(table.nameCell(0), QStringLiteral("Karvelino           "));
        QTest::mouseClick(tableButton(table), Qt::LeftButton);

        question.ask();
        QVERIFY(test::activate(question));
        QCOMPARE(QApplication::focusWidget(), yes(question));
        QTest::keyClick(&question, Qt::Key_J, Qt::AltModifier);
        QTRY_VERIFY(!question.isVisible());
        checkBlankFileAndTable(folder, table);
        QCOMPARE(tableButton(table)->text(), QStringLiteral("Zurück"));
    }

    void yesWritesAWholeFileWhenItWasMissing()
    {
        test::HighscoreFolder folder;
        HighscoreTableWindow table(folder.path());
        ResetQuestion question(table, folder.path());
        question.ask();
        QTest::mouseClick(yes(question), Qt::LeftButton);
        checkBlankFileAndTable(folder, table);
        QCOMPARE(tableButton(table)->text(), QStringLiteral("&Weiter"));  // no display happened
    }

    void resetBringsTheOpenTableToTheFrontWithoutTheKeyboard()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        ResetQuestion question(table, folder.path());
        QWidget other;
        other.resize(400, 300);
        table.displayTable();
        other.show();
        QVERIFY(test::activate(other));
        ZOrderChanges raised(table);
        question.ask();
        QVERIFY(test::activate(question));
        QTest::mouseClick(yes(question), Qt::LeftButton);
        QVERIFY(!question.isVisible());
        QCOMPARE(table.pointsCell(0), QStringLiteral("0"));
        QVERIFY(raised.count > 0);
        QTest::qWait(20);
        QVERIFY(QApplication::activeWindow() != &table);
    }

    void askingAgainWhileOpenChangesNothing()
    {
        HighscoreTableWindow table;
        ResetQuestion question(table);
        const int before = visibleWindows();
        question.ask();
        QVERIFY(test::activate(question));
        no(question)->setFocus();
        question.ask();
        QCOMPARE(visibleWindows(), before + 1);
        QCOMPARE(QApplication::focusWidget(), no(question));
    }

    void aFailedResetShowsWhatTheFileHolds()
    {
        test::HighscoreFolder folder;
        QVERIFY(std::filesystem::create_directory(folder.path() / "P1.dat"));
        HighscoreTableWindow table(folder.path());
        ResetQuestion question(table, folder.path());
        table.fillRows(shippedHighscoreTable());
        question.ask();
        QTest::mouseClick(yes(question), Qt::LeftButton);
        QVERIFY(!question.isVisible());
        QVERIFY(table.isVisible());
        // Nothing could be read or written: the table still shows what it showed.
        QCOMPARE(table.pointsCell(0), QStringLiteral("100"));
        QCOMPARE(table.nameCell(0), QStringLiteral("Karvelino           "));
    }
};

}  // namespace kv

QTEST_MAIN(kv::TestResetQuestion)
#include "test_reset_question.moc"
