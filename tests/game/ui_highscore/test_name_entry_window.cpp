#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "game/highscore/date_text.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "game/ui/highscore/name_entry_window.h"
#include "tests/game/ui_highscore/highscore_folder.h"
#include "tests/game/ui_highscore/window_checks.h"

namespace kv {
namespace {

QLineEdit* nameBox(NameEntryWindow& entry)
{
    return entry.findChild<QLineEdit*>(QStringLiteral("nameBox"));
}
QPushButton* button(QWidget& window)
{
    return window.findChild<QPushButton*>(QStringLiteral("continueButton"));
}

// Eleven stored entries from 110 down to 10 points, named "R1" to "R11".
HighscoreTable fullTable()
{
    HighscoreTable table;
    for (int i = 0; i < kHighscoreRecordCount; ++i) {
        const std::string name = "R" + std::to_string(i + 1);
        table[static_cast<std::size_t>(i)] = test::entry(110 - 10 * i, name.c_str(), "01.02.03 04:05:06");
    }
    return table;
}

// Typed character by character, umlauts included.
void type(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

// What the end of a qualifying game does, then the player's name and the press of "&Weiter".
void enter(HighscoreTableWindow& table, NameEntryWindow& entry, const QString& points, const QString& name)
{
    table.setPointsCell(HighscoreTableWindow::kResultRow, points);
    entry.ask();
    type(nameBox(entry), name);
    QTest::mouseClick(button(entry), Qt::LeftButton);
}

void checkFileMatchesTable(const test::HighscoreFolder& folder, const HighscoreTableWindow& table)
{
    QCOMPARE(folder.bytes().size(), 429);
    QVERIFY(folder.table() == test::shownRows(table));
}

}  // namespace

class TestNameEntryWindow : public QObject {
    Q_OBJECT

private slots:
    void createdHiddenCentredAndFramed()
    {
        HighscoreTableWindow table;
        NameEntryWindow entry(table);
        QVERIFY(entry.isWindow());
        QVERIFY(!entry.isVisible());
        QCOMPARE(entry.windowTitle(), QStringLiteral("Spielername"));
        test::checkCentred(entry);
        test::checkFramedWindow(entry, 219, 136);
        auto* question = entry.findChild<QLabel*>(QStringLiteral("questionLabel"));
        QCOMPARE(question->text(), QStringLiteral("Wer hat so viel Punkte erzielt?"));
        QCOMPARE(question->geometry(), QRect(35, 22, 154, 33));
        QCOMPARE(nameBox(entry)->geometry(), QRect(39, 52, 136, 19));
        QVERIFY(!nameBox(entry)->hasFrame());
        QVERIFY(nameBox(entry)->text().isEmpty());
        QCOMPARE(button(entry)->geometry(), QRect(115, 94, 60, 19));
        QCOMPARE(button(entry)->text(), QStringLiteral("&Weiter"));
    }

    void questionAndCaptionFitTheirBoxes()
    {
        HighscoreTableWindow table;
        NameEntryWindow entry(table);
        auto* question = entry.findChild<QLabel*>(QStringLiteral("questionLabel"));
        // The question is broken at blanks; the lines must fit the label's box.
        const QRect box = question->contentsRect();
        const QRect text =
            QFontMetrics(question->font()).boundingRect(box, Qt::TextWordWrap, question->text());
        QVERIFY2(text.width() <= box.width() && text.height() <= box.height(),
                 qPrintable(QStringLiteral("%1 x %2 in %3 x %4")
                                .arg(text.width())
                                .arg(text.height())
                                .arg(box.width())
                                .arg(box.height())));
        test::checkCaptionsFit(button(entry), {button(entry)->text()});
    }

    void askFocusesTheNameBox()
    {
        HighscoreTableWindow table;
        NameEntryWindow entry(table);
        entry.ask();
        QVERIFY(entry.isVisible());
        QVERIFY(test::activate(entry));
        QCOMPARE(QApplication::focusWidget(), nameBox(entry));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button(entry));
    }

    void aBestResultRanksFirstAndFileMatchesTable()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        const QString before = QString::fromStdString(currentDateText());
        enter(table, entry, QStringLiteral("250"), QStringLiteral("Anna"));
        const QString after = QString::fromStdString(currentDateText());

        QVERIFY(!entry.isVisible());
        QVERIFY(table.isVisible());
        QCOMPARE(table.pointsCell(0), QStringLiteral("250"));
        QCOMPARE(table.nameCell(0), QStringLiteral("Anna                "));
        QVERIFY2(table.dateCell(0) == before || table.dateCell(0) == after, qPrintable(table.dateCell(0)));
        QCOMPARE(table.pointsCell(1), QStringLiteral("100"));
        QCOMPARE(table.nameCell(1), QStringLiteral("Karvelino           "));
        QCOMPARE(table.dateCell(1), QStringLiteral("12.06.99 16:02:47"));
        QCOMPARE(table.pointsCell(2), QStringLiteral("0"));
        checkFileMatchesTable(folder, table);
        // Ready for the next game, and the table keeps the caption it had.
        QVERIFY(nameBox(entry)->text().isEmpty());
        QCOMPARE(button(table)->text(), QStringLiteral("&Weiter"));
        QVERIFY(test::activate(table));
        QCOMPARE(table.focusWidget(), button(table));
    }

    void enterInTheNameBoxStoresNothingAltWDoes()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        const QByteArray shipped = folder.bytes();
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        table.setPointsCell(HighscoreTableWindow::kResultRow, QStringLiteral("120"));
        entry.ask();
        QVERIFY(test::activate(entry));
        QTest::keyClicks(nameBox(entry), QStringLiteral("Cleo"));
        QTest::keyClick(nameBox(entry), Qt::Key_Return);
        QTest::keyClick(nameBox(entry), Qt::Key_Enter);
        QTest::qWait(150);  // longer than an access key's click animation
        QVERIFY(entry.isVisible());
        QCOMPARE(folder.bytes(), shipped);

        QTest::keyClick(&entry, Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(!entry.isVisible());
        QCOMPARE(table.nameCell(0), QStringLiteral("Cleo                "));
        QCOMPARE(table.pointsCell(0), QStringLiteral("120"));
    }

    // The entry stores the result of the game that opened it, even when the table was refilled
    // from the file before the press.
    void storesTheResultTheGameEndWrote()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        table.setPointsCell(HighscoreTableWindow::kResultRow, QStringLiteral("300"));
        entry.ask();
        table.displayTable();  // reloads the hidden row with the stored eleventh: "0"
        QCOMPARE(table.pointsCell(10), QStringLiteral("0"));
        QTest::keyClicks(nameBox(entry), QStringLiteral("Dora"));
        QTest::mouseClick(button(entry), Qt::LeftButton);
        QCOMPARE(table.pointsCell(0), QStringLiteral("300"));
        QCOMPARE(table.nameCell(0), QStringLiteral("Dora                "));
        checkFileMatchesTable(folder, table);
    }

    void aSecondGameEndBeforeThePressStoresOneEntryWithTheLatestResult()
    {
        test::HighscoreFolder folder;
        folder.installShippedFile();
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        table.setPointsCell(HighscoreTableWindow::kResultRow, QStringLiteral("300"));
        entry.ask();
        QTest::keyClicks(nameBox(entry), QStringLiteral("Emil"));
        table.setPointsCell(HighscoreTableWindow::kResultRow, QStringLiteral("400"));
        entry.ask();
        QCOMPARE(nameBox(entry)->text(), QStringLiteral("Emil"));  // what was typed stays
        QTest::mouseClick(button(entry), Qt::LeftButton);
        QCOMPARE(table.pointsCell(0), QStringLiteral("400"));
        QCOMPARE(table.pointsCell(1), QStringLiteral("100"));
        QCOMPARE(table.pointsCell(2), QStringLiteral("0"));
        checkFileMatchesTable(folder, table);
    }

    void aFileThatCannotBeUsedKeepsTheTableShown()
    {
        test::HighscoreFolder folder;
        QVERIFY(std::filesystem::create_directory(folder.path() / "P1.dat"));
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        HighscoreTable shown = fullTable();
        table.fillRows(shown);
        enter(table, entry, QStringLiteral("55"), QStringLiteral("Fritz"));
        QVERIFY(table.isVisible());
        QCOMPARE(table.pointsCell(0), QStringLiteral("110"));
        QCOMPARE(table.pointsCell(5), QStringLiteral("60"));
        QCOMPARE(table.pointsCell(6), QStringLiteral("55"));
        QCOMPARE(table.nameCell(6), QStringLiteral("Fritz               "));
        QCOMPARE(table.pointsCell(7), QStringLiteral("50"));
        QCOMPARE(table.nameCell(7), QStringLiteral("R7                  "));
        QCOMPARE(table.pointsCell(10), QStringLiteral("20"));  // the stored 10 points dropped out
    }

    // Entries one after the other into a starting file; each lands at its rank, the table shows
    // it and the file holds what the table shows.
    void entriesRankIntoTheFile_data()
    {
        QTest::addColumn<QString>("file");         // "shipped", "full" (110 down to 10) or "none"
        QTest::addColumn<QStringList>("entries");  // points and name, in turn
        QTest::addColumn<int>("row");              // where the last entry lands
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rowBelow");  // the points of the next row
        QTest::newRow("equal goes below") << "shipped" << QStringList{"100", "Bert"} << 1 << "100"
                                          << "Bert                "
                                          << "0";
        QTest::newRow("lowest is the hidden eleventh") << "full" << QStringList{"15", "Klein"} << 10 << "15"
                                                       << "Klein               " << QString();
        // A new entry is written over the eleventh, whatever either holds.
        QTest::newRow("over the eleventh")
            << "full" << QStringList{"15", "Klein", "3", "Noch kleiner"} << 10 << "3"
            << "Noch kleiner        " << QString();
        QTest::newRow("empty name") << "none" << QStringList{"40", ""} << 0 << "40" << QString(20, ' ')
                                    << "0";
        QTest::newRow("long name is cut")
            << "none" << QStringList{"40", "", "50", "Maximilian Müller-Lüdenscheidt"} << 0 << "50"
            << "Maximilian Müller-Lü"
            << "40";
        QTest::newRow("beyond 16 bits") << "none" << QStringList{"99999", "Gross"} << 0 << "32767"
                                        << "Gross               "
                                        << "0";
        // Zero points: below the blank records that hold zero too.
        QTest::newRow("no number") << "none" << QStringList{"kaputt", "Null"} << 10 << "0"
                                   << "Null                " << QString();
    }

    void entriesRankIntoTheFile()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(int, row);
        QFETCH(QString, points);
        QFETCH(QString, name);
        QFETCH(QString, rowBelow);
        test::HighscoreFolder folder;
        if (file == QLatin1String("shipped"))
            folder.installShippedFile();
        if (file == QLatin1String("full"))
            folder.writeTable(fullTable());
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        for (qsizetype i = 0; i + 1 < entries.size(); i += 2)
            enter(table, entry, entries[i], entries[i + 1]);

        QCOMPARE(table.pointsCell(row), points);
        QCOMPARE(table.nameCell(row), name);
        if (!rowBelow.isNull())
            QCOMPARE(table.pointsCell(row + 1), rowBelow);
        if (file == QLatin1String("full"))
            for (int shown = 0; shown < 10; ++shown)
                QCOMPARE(table.pointsCell(shown), QString::number(110 - 10 * shown));
        checkFileMatchesTable(folder, table);
    }

    void namesAreStoredAsSingleWindows1252Bytes()
    {
        test::HighscoreFolder folder;
        HighscoreTableWindow table(folder.path());
        NameEntryWindow entry(table, folder.path());
        enter(table, entry, QStringLiteral("50"), QStringLiteral("Maximilian Müller-Lüdenscheidt"));
        QCOMPARE(folder.bytes().mid(2, 20), QByteArray("Maximilian M\xfcller-L\xfc"));
    }
};

}  // namespace kv

QTEST_MAIN(kv::TestNameEntryWindow)
#include "test_name_entry_window.moc"
