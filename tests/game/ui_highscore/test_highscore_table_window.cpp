#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "game/ui/highscore/highscore_table_window.h"
#include "tests/game/ui_highscore/highscore_folder.h"
#include "tests/game/ui_highscore/window_checks.h"

namespace kv {
namespace {

QLineEdit* cell(HighscoreTableWindow& table, const char* column, int row)
{
    return table.findChild<QLineEdit*>(QStringLiteral("%1%2").arg(QLatin1String(column)).arg(row));
}

QPushButton* button(HighscoreTableWindow& table)
{
    return table.findChild<QPushButton*>(QStringLiteral("continueButton"));
}

}  // namespace

class TestHighscoreTableWindow : public QObject {
    Q_OBJECT

private slots:
    void createdHiddenCentredAndFramed()
    {
        test::HighscoreFolder folder;
        HighscoreTableWindow table(folder.path());
        QVERIFY(table.isWindow());
        QVERIFY(!table.isVisible());
        QCOMPARE(table.windowTitle(), QStringLiteral("Highscore"));
        test::checkCentred(table);
        test::checkFramedWindow(table, 392, 267);
        QVERIFY(!folder.exists());  // creating the window does not touch the file
    }

    void bothButtonCaptionsFit()
    {
        HighscoreTableWindow table;
        test::checkCaptionsFit(button(table), {QStringLiteral("&Weiter"), QStringLiteral("Zurück")});
    }

    void cellsSitOnTheTwipGrid()
    {
        HighscoreTableWindow table;
        for (int row = 0; row < HighscoreTableWindow::kRows; ++row) {
            const int top = 20 * (row + 1);
            QCOMPARE(cell(table, "rankCell", row)->geometry(), QRect(32, top, 19, 19));
            QCOMPARE(cell(table, "pointsCell", row)->geometry(), QRect(66, top, 30, 19));
            QCOMPARE(cell(table, "nameCell", row)->geometry(), QRect(113, top, 136, 19));
            QCOMPARE(cell(table, "dateCell", row)->geometry(), QRect(267, top, 93, 19));
        }
        QCOMPARE(button(table)->geometry(), QRect(287, 233, 73, 20));
    }

    void cellsAreFlatDisplayTextsWithFixedRanks()
    {
        HighscoreTableWindow table;
        for (int row = 0; row < HighscoreTableWindow::kRows; ++row) {
            QLineEdit* rank = cell(table, "rankCell", row);
            QCOMPARE(rank->text(), QString::number(row + 1));
            QVERIFY(!rank->isEnabled());
            QVERIFY(rank->alignment() & Qt::AlignHCenter);
            QVERIFY(cell(table, "pointsCell", row)->alignment() & Qt::AlignRight);
            QVERIFY(cell(table, "nameCell", row)->alignment() & Qt::AlignLeft);
            QVERIFY(cell(table, "dateCell", row)->alignment() & Qt::AlignHCenter);
            for (const char* column : {"rankCell", "pointsCell", "nameCell", "dateCell"}) {
                QLineEdit* c = cell(table, column, row);
                QVERIFY(c->isReadOnly());
                QVERIFY(!c->hasFrame());
                QCOMPARE(c->font().family(), QStringLiteral("MS Sans Serif"));
                QCOMPARE(c->isHidden(), row == HighscoreTableWindow::kResultRow);
            }
            QCOMPARE(cell(table, "nameCell", row)->font().pointSize(), 8);
            // Lowered, where the installed fonts need it, until a whole date fits; alike in all rows.
            QVERIFY(cell(table, "dateCell", row)->font().pointSizeF() <= 8);
            QCOMPARE(cell(table, "dateCell", row)->font(), cell(table, "dateCell", 0)->font());
        }
    }

    void rowColoursAndTheHiddenRowAsSeen()
    {
        HighscoreTableWindow table;
        const QImage image = table.grab().toImage();
        // Inside the empty name cells of rows 0 to 3, and where row 10 would be.
        QCOMPARE(image.pixelColor(240, 30), QColor(255, 255, 0));
        QCOMPARE(image.pixelColor(240, 50), QColor(255, 255, 128));
        QCOMPARE(image.pixelColor(240, 70), QColor(255, 255, 192));
        QCOMPARE(image.pixelColor(240, 90), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(240, 210), QColor(255, 255, 255));
        QCOMPARE(image.pixelColor(240, 230), QColor(128, 255, 128));
        QCOMPARE(image.pixelColor(90, 230), QColor(128, 255, 128));
        // The rank texts are black although their cells are disabled.
        QLineEdit* rank = cell(table, "rankCell", 5);
        QCOMPARE(rank->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::black));
    }

    void displayShowsTheShippedFile()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        table.displayTable();
        QVERIFY(table.isVisible());
        QCOMPARE(table.pointsCell(0), QStringLiteral("100"));
        QCOMPARE(table.nameCell(0), QStringLiteral("Karvelino           "));
        QCOMPARE(table.dateCell(0), QStringLiteral("12.06.99 16:02:47"));
        for (int row = 1; row < HighscoreTableWindow::kRows; ++row) {
            QCOMPARE(table.pointsCell(row), QStringLiteral("0"));
            QCOMPARE(table.nameCell(row), QString(20, ' '));
            QCOMPARE(table.dateCell(row), QString(17, ' '));
        }
        QCOMPARE(button(table)->text(), QStringLiteral("Zurück"));
        QVERIFY(test::activate(table));
        QCOMPARE(table.focusWidget(), button(table));
    }

    void displayReloadsWhileVisibleAndShowsNegativePoints()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        table.displayTable();
        HighscoreTable changed;
        changed[0] = test::entry(7, "Erste");
        changed[10] = test::entry(-12, "Elfte", "01.01.00 00:00:00");
        folder.writeTable(changed);
        table.displayTable();
        QVERIFY(table.isVisible());
        QCOMPARE(table.pointsCell(0), QStringLiteral("7"));
        QCOMPARE(table.nameCell(0), QStringLiteral("Erste               "));
        // The eleventh record lands in the hidden row.
        QCOMPARE(table.pointsCell(10), QStringLiteral("-12"));
        QCOMPARE(table.nameCell(10), QStringLiteral("Elfte               "));
        QCOMPARE(table.dateCell(10), QStringLiteral("01.01.00 00:00:00"));
    }

    // A missing file reads as blank records; one that cannot be read leaves the rows as shown.
    void displayWithoutAFile_data()
    {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << false << "0" << QString(20, ' ');
        QTest::newRow("unreadable") << true << "100"
                                    << "Karvelino           ";
    }

    void displayWithoutAFile()
    {
        QFETCH(bool, folderInItsPlace);
        QFETCH(QString, points);
        QFETCH(QString, name);
        test::HighscoreFolder folder;
        if (folderInItsPlace)
            QVERIFY(std::filesystem::create_directory(folder.path() / "P1.dat"));
        HighscoreTableWindow table(folder.path());
        table.fillRows(shippedHighscoreTable());
        table.displayTable();
        QVERIFY(table.isVisible());
        QCOMPARE(table.pointsCell(0), points);
        QCOMPARE(table.nameCell(0), name);
    }

    void buttonHidesAndTheCaptionChangesOnlyThroughDisplay()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        table.fillRows(shippedHighscoreTable());
        table.showTable();
        QCOMPARE(button(table)->text(), QStringLiteral("&Weiter"));
        QVERIFY(test::activate(table));
        QTest::keyClick(&table, Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(!table.isVisible());  // an access key presses its button after a short animation
        QCOMPARE(table.nameCell(0), QStringLiteral("Karvelino           "));  // cells keep content

        table.displayTable();
        QTest::mouseClick(button(table), Qt::LeftButton);
        QVERIFY(!table.isVisible());
        table.showTable();
        QCOMPARE(button(table)->text(), QStringLiteral("Zurück"));
        table.showTableInBackground();
        QCOMPARE(button(table)->text(), QStringLiteral("Zurück"));
    }

    void pointsCellsOutsideTheTableAreIgnored()
    {
        HighscoreTableWindow table;
        table.setPointsCell(11, QStringLiteral("5"));
        table.setPointsCell(-1, QStringLiteral("5"));
        QCOMPARE(table.pointsCell(11), QString());
        QCOMPARE(table.pointsCell(-1), QString());
        table.setPointsCell(10, QStringLiteral("321"));
        QCOMPARE(table.pointsCell(10), QStringLiteral("321"));
    }
};

}  // namespace kv

QTEST_MAIN(kv::TestHighscoreTableWindow)
#include "test_highscore_table_window.moc"
