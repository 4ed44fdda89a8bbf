#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/highscore/highscore_table.h"
#include "tests/game/highscore/temp_folder.h"

namespace kv {
namespace {

using test::entry;

std::vector<unsigned char> blankFileBytes()
{
    std::vector<unsigned char> bytes;
    for (int n = 0; n < kHighscoreRecordCount; ++n) {
        const auto blank = test::blankRecordBytes();
        bytes.insert(bytes.end(), blank.begin(), blank.end());
    }
    return bytes;
}

std::vector<unsigned char> shippedFileBytes()
{
    auto bytes = blankFileBytes();
    const auto first = test::recordBytes(100, "Karvelino           ", "12.06.99 16:02:47");
    std::copy(first.begin(), first.end(), bytes.begin());
    return bytes;
}

void writeTable(const test::TempFolder& folder, const HighscoreTable& table)
{
    HighscoreFile file(folder.file());
    ASSERT_TRUE(writeHighscoreTable(file, table));
}

TEST(HighscoreTable, ShippedFileIsByteExact)
{
    test::TempFolder folder;
    writeTable(folder, shippedHighscoreTable());
    const auto bytes = folder.bytes();
    ASSERT_EQ(bytes.size(), 429u);
    EXPECT_EQ(bytes, shippedFileBytes());
    EXPECT_EQ(readLowestHighscore(folder.path()), 0);
}

TEST(HighscoreTable, MakeP1DatWritesTheShippedFileOverAnyOldOne)
{
    test::TempFolder folder;
    folder.setBytes(std::vector<unsigned char>(1000, 'x'));
    const std::string command = std::string(KV_MAKE_P1DAT) + " '" + folder.file().string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(folder.bytes(), shippedFileBytes());

    const std::string unwritable =
        std::string(KV_MAKE_P1DAT) + " '" + folder.path().string() + "/none/P1.dat' 2>/dev/null";
    EXPECT_NE(std::system(unwritable.c_str()), 0);
}

TEST(HighscoreTable, ResetWritesExactlyElevenBlankRecordsWhateverWasThere)
{
    // Twelve records and a few stray bytes: nothing after record 11 may survive a reset.
    std::vector<unsigned char> longer = shippedFileBytes();
    const auto twelfth = test::recordBytes(7, "Zwoelfter           ", "01.01.00 00:00:00");
    longer.insert(longer.end(), twelfth.begin(), twelfth.end());
    longer.insert(longer.end(), {'e', 'n', 'd'});
    const std::vector<std::vector<unsigned char>> before = {
        {}, {0x10, 0x00, 'S', 'h', 'o', 'r', 't'}, shippedFileBytes(), longer};
    for (std::size_t n = 0; n < before.size(); ++n) {
        test::TempFolder folder;
        if (n > 0)
            folder.setBytes(before[n]);  // the first: no file at all
        EXPECT_TRUE(resetHighscoreFile(folder.path())) << n;
        EXPECT_EQ(folder.bytes(), blankFileBytes()) << n;
    }
    test::TempFolder folder;
    EXPECT_FALSE(resetHighscoreFile(folder.path() / "missing"));
}

TEST(HighscoreTable, LowestHighscoreIsRecordTen)
{
    test::TempFolder folder;
    EXPECT_EQ(readLowestHighscore(folder.path()), 0);  // creates the file empty
    EXPECT_TRUE(std::filesystem::exists(folder.file()));

    HighscoreTable table;
    for (int i = 0; i < kHighscoreRecordCount; ++i)
        table[i].points = static_cast<std::int16_t>(110 - 10 * i);
    writeTable(folder, table);
    EXPECT_EQ(readLowestHighscore(folder.path()), 20);

    EXPECT_EQ(readLowestHighscore(folder.path() / "missing"), std::nullopt);
}

TEST(HighscoreTable, RankingKeepsNamesAndDatesWithTheirPointsAndEarlierRecordsFirst)
{
    HighscoreTable table;
    table[0] = entry(50, "Anna", "01.01.99 10:00:00");
    table[1] = entry(70, "Bernd", "02.01.99 10:00:00");
    table[2] = entry(50, "Clara", "03.01.99 10:00:00");
    table[3] = entry(-5, "Dieter", "04.01.99 10:00:00");
    table[10] = entry(50, "Neu", "05.01.99 10:00:00");
    rankHighscoreTable(table);
    EXPECT_EQ(table[0], entry(70, "Bernd", "02.01.99 10:00:00"));
    EXPECT_EQ(table[1], entry(50, "Anna", "01.01.99 10:00:00"));
    EXPECT_EQ(table[2], entry(50, "Clara", "03.01.99 10:00:00"));
    EXPECT_EQ(table[3], entry(50, "Neu", "05.01.99 10:00:00"));
    for (int i = 4; i < 10; ++i)
        EXPECT_EQ(table[i], HighscoreRecord{}) << i;
    EXPECT_EQ(table[10], entry(-5, "Dieter", "04.01.99 10:00:00"));
}

TEST(HighscoreTable, NewEntryIsWrittenAsRecordElevenThenRankedIntoTheFile)
{
    test::TempFolder folder;
    HighscoreTable stored;
    for (int i = 0; i < kHighscoreRecordCount; ++i) {
        stored[i] = entry(100 - 10 * i, ("Spieler " + std::to_string(i + 1)).c_str(), "10.10.10 10:10:10");
    }
    writeTable(folder, stored);

    HighscoreTable ranked;
    EXPECT_TRUE(storeNewHighscore(entry(70, "Zoë mit einem sehr langen Namen", "24.12.23 18:30:00"), ranked,
                                  folder.path()));
    EXPECT_EQ(ranked[2], stored[2]);
    EXPECT_EQ(ranked[3], stored[3]);  // the stored 70 stays above the new 70
    EXPECT_EQ(ranked[4], entry(70, "Zoë mit einem sehr l", "24.12.23 18:30:00"));
    EXPECT_EQ(ranked[5], stored[4]);
    EXPECT_EQ(ranked[10], stored[9]);  // the old eleventh entry is gone

    HighscoreTable reread;
    EXPECT_TRUE(loadHighscoreTable(reread, folder.path()));
    EXPECT_EQ(reread, ranked);
    EXPECT_EQ(folder.bytes().size(), 429u);
}

TEST(HighscoreTable, NewEntryReplacesTheLowestRecordWhateverOrderTheFileIsIn)
{
    // Anyone may write the shared file: here the best record stands last and the lowest fifth.
    test::TempFolder folder;
    HighscoreTable stored;
    for (int i = 0; i < kHighscoreRecordCount; ++i) {
        stored[i] = entry(10 * (i + 1), ("Spieler " + std::to_string(i + 1)).c_str(), "10.10.10 10:10:10");
    }
    std::swap(stored[0], stored[4]);
    writeTable(folder, stored);

    HighscoreTable ranked;
    EXPECT_TRUE(storeNewHighscore(entry(35, "Neu", "24.12.23 18:30:00"), ranked, folder.path()));
    HighscoreTable expected;
    for (int i = 0; i < 7; ++i)
        expected[i] = entry(110 - 10 * i, ("Spieler " + std::to_string(11 - i)).c_str(), "10.10.10 10:10:10");
    expected[7] = entry(40, "Spieler 4", "10.10.10 10:10:10");
    expected[8] = entry(35, "Neu", "24.12.23 18:30:00");
    expected[9] = entry(30, "Spieler 3", "10.10.10 10:10:10");
    expected[10] = entry(20, "Spieler 2", "10.10.10 10:10:10");
    EXPECT_EQ(ranked, expected);  // only the 10 points of "Spieler 1" are gone
    HighscoreTable reread;
    EXPECT_TRUE(loadHighscoreTable(reread, folder.path()));
    EXPECT_EQ(reread, expected);
}

TEST(HighscoreTable, NewEntryIntoAMissingFileLandsFirstAmongBlanks)
{
    test::TempFolder folder;
    HighscoreTable ranked;
    EXPECT_TRUE(storeNewHighscore(entry(12, "Ede", "01.02.03 04:05:06"), ranked, folder.path()));
    EXPECT_EQ(ranked[0], entry(12, "Ede", "01.02.03 04:05:06"));
    auto expected = blankFileBytes();
    const auto first = test::recordBytes(12, "Ede                 ", "01.02.03 04:05:06");
    std::copy(first.begin(), first.end(), expected.begin());
    EXPECT_EQ(folder.bytes(), expected);
}

TEST(HighscoreTable, NewEntryStillRanksForDisplayWhenTheFileCannotBeWritten)
{
    test::TempFolder folder;
    HighscoreTable ranked;
    EXPECT_FALSE(storeNewHighscore(entry(12, "Ede"), ranked, folder.path() / "missing"));
    EXPECT_EQ(ranked[0], entry(12, "Ede"));
    HighscoreTable table;
    EXPECT_FALSE(loadHighscoreTable(table, folder.path() / "missing"));
    EXPECT_EQ(table, blankHighscoreTable());
}

}  // namespace
}  // namespace kv
