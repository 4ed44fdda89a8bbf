// The eleven entries of the highscore file as one table, and what the game does with them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "game/highscore/highscore_file.h"
#include "game/highscore/highscore_record.h"

namespace kv {

// Index i holds record i + 1: indices 0 to 9 are the ranks the table window shows, index 10 the
// hidden eleventh entry that a new result is first written over.
using HighscoreTable = std::array<HighscoreRecord, kHighscoreRecordCount>;

// The record whose points decide whether a result enters the table.
inline constexpr int kLowestShownRecord = 10;

// Orders the entries by points, highest first; each entry keeps its own name and date.
// Entries with equal points keep their order, the earlier record first. A new entry, which
// stands at index 10, therefore goes below every stored entry with the same points: whoever
// reached a score first keeps the higher rank.
void rankHighscoreTable(HighscoreTable& table);

// What the table window's cells show for one entry, as UTF-8: the points as decimal text (a
// minus sign for a negative value), the name and the date with their trailing blanks.
struct HighscoreRowTexts {
    std::string points;
    std::string name;
    std::string date;
};
HighscoreRowTexts highscoreRowTexts(const HighscoreRecord& record);

// The file installed with the game: 100 points for "Karvelino" on "12.06.99 16:02:47", then
// ten blank records.
HighscoreTable shippedHighscoreTable();

// What a reset leaves: eleven blank records.
HighscoreTable blankHighscoreTable();

// Records 1 to 11 into `table`; entries that could not be read stay blank.
bool readHighscoreTable(HighscoreFile& file, HighscoreTable& table);
// `table` as records 1 to 11; bytes after record 11 are left alone.
bool writeHighscoreTable(HighscoreFile& file, const HighscoreTable& table);

// The operations below open the highscore file in `folder` (default: the working directory),
// do their work and close it again. Each returns false when any file operation failed.

// The points of record 10, or nothing when the file could not be read.
std::optional<std::int16_t> readLowestHighscore(const std::filesystem::path& folder = {});

// The table as the file holds it, for display.
bool loadHighscoreTable(HighscoreTable& table, const std::filesystem::path& folder = {});

// Stores a new result: reads records 1 to 11, puts the entry in place of the lowest of them,
// ranks them and writes them as records 1 to 11, so no record above the lowest is lost whatever
// order the file was in. `ranked` receives the eleven ranked entries; should the entry not
// reach the file it still takes part in the ranking shown. A file that cannot be read is left
// as it is.
bool storeNewHighscore(const HighscoreRecord& entry, HighscoreTable& ranked,
                       const std::filesystem::path& folder = {});

// Overwrites records 1 to 11 with blank records and cuts the file after them.
bool resetHighscoreFile(const std::filesystem::path& folder = {});

}  // namespace kv
