#include "game/highscore/highscore_table.h"

#include <algorithm>
#include <system_error>

namespace kv {

void rankHighscoreTable(HighscoreTable& table)
{
    std::stable_sort(table.begin(), table.end(),
                     [](const HighscoreRecord& a, const HighscoreRecord& b) { return a.points > b.points; });
}

HighscoreRowTexts highscoreRowTexts(const HighscoreRecord& record)
{
    return {std::to_string(record.points), record.name.str(), record.date.str()};
}

HighscoreTable shippedHighscoreTable()
{
    HighscoreTable table;
    table[0].points = 100;
    table[0].name = "Karvelino";
    table[0].date = "12.06.99 16:02:47";
    return table;
}

HighscoreTable blankHighscoreTable()
{
    return HighscoreTable{};
}

bool readHighscoreTable(HighscoreFile& file, HighscoreTable& table)
{
    bool ok = true;
    for (int number = 1; number <= kHighscoreRecordCount; ++number) {
        ok = file.read(number, table[number - 1]) && ok;
    }
    return ok;
}

bool writeHighscoreTable(HighscoreFile& file, const HighscoreTable& table)
{
    bool ok = true;
    for (int number = 1; number <= kHighscoreRecordCount; ++number) {
        ok = file.write(number, table[number - 1]) && ok;
    }
    return ok;
}

std::optional<std::int16_t> readLowestHighscore(const std::filesystem::path& folder)
{
    HighscoreFile file(highscoreFilePath(folder));
    HighscoreRecord lowest;
    if (!file.read(kLowestShownRecord, lowest))
        return std::nullopt;
    return lowest.points;
}

bool loadHighscoreTable(HighscoreTable& table, const std::filesystem::path& folder)
{
    HighscoreFile file(highscoreFilePath(folder));
    const bool read = readHighscoreTable(file, table);
    return file.close() && read;
}

bool storeNewHighscore(const HighscoreRecord& entry, HighscoreTable& ranked,
                       const std::filesystem::path& folder)
{
    HighscoreFile file(highscoreFilePath(folder));
    const bool read = readHighscoreTable(file, ranked);
    // Every user may write the file, so its records need not be in rank order: the new entry
    // replaces the lowest of them, not whatever stands in record 11. The table shows the entry
    // as the file holds it, in Windows-1252.
    rankHighscoreTable(ranked);
    ranked.back() = decodeHighscoreRecord(encodeHighscoreRecord(entry));
    rankHighscoreTable(ranked);
    // Records that could not be read are not overwritten with blanks.
    const bool written = read && writeHighscoreTable(file, ranked);
    return file.close() && written;
}

bool resetHighscoreFile(const std::filesystem::path& folder)
{
    const std::filesystem::path path = highscoreFilePath(folder);
    HighscoreFile file(path);
    const bool written = writeHighscoreTable(file, blankHighscoreTable());
    if (!file.close() || !written)
        return false;
    // Whatever a longer file held after record 11 goes too: a reset leaves blank records only.
    std::error_code error;
    std::filesystem::resize_file(path, kHighscoreFileSize, error);
    return !error;
}

}  // namespace kv
