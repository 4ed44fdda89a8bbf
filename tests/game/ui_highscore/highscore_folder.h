// A fresh folder per test for P1.dat, with the helpers the window tests need to prepare the file
// and to compare what lands on disk with what the table shows.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/ui/highscore/highscore_table_window.h"
#include "game/highscore/highscore_table.h"
#include "tests/game/highscore/record_entry.h"

namespace kv::test {

class HighscoreFolder {
public:
    std::filesystem::path path() const { return dir_.path().toStdString(); }
    QString filePath() const { return dir_.filePath(QStringLiteral("P1.dat")); }

    bool exists() const { return QFile::exists(filePath()); }
    QByteArray bytes() const
    {
        QFile file(filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void setBytes(const QByteArray& content) const
    {
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(content), content.size());
    }
    // The file the game is installed with, written by the build's own tool.
    void installShippedFile() const
    {
        const std::string command = std::string(KV_MAKE_P1DAT) + " '" + filePath().toStdString() + "'";
        QCOMPARE(std::system(command.c_str()), 0);
    }
    void writeTable(const HighscoreTable& table) const
    {
        HighscoreFile file(path() / "P1.dat");
        QVERIFY(writeHighscoreTable(file, table));
        QVERIFY(file.close());
    }
    HighscoreTable table() const
    {
        HighscoreTable table;
        loadHighscoreTable(table, path());
        return table;
    }

private:
    QTemporaryDir dir_;
};

// The rows of the table window as records, for comparing with the file.
inline HighscoreTable shownRows(const HighscoreTableWindow& table)
{
    HighscoreTable rows;
    for (int row = 0; row < HighscoreTableWindow::kRows; ++row) {
        HighscoreRecord& record = rows[static_cast<std::size_t>(row)];
        record.points = static_cast<std::int16_t>(table.pointsCell(row).toInt());
        record.name = table.nameCell(row).toStdString();
        record.date = table.dateCell(row).toStdString();
    }
    return rows;
}

inline QByteArray blankFileBytes()
{
    QByteArray record(2, '\0');
    record.append(QByteArray(37, ' '));
    return record.repeated(kHighscoreRecordCount);
}

}  // namespace kv::test
