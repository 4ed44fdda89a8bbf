#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/highscore/highscore_file.h"
#include "tests/game/highscore/temp_folder.h"

namespace kv {
namespace {

using test::entry;

TEST(HighscoreFile, PathIsRelativeUnlessAFolderIsGiven)
{
    EXPECT_EQ(highscoreFilePath(), std::filesystem::path("P1.dat"));
    EXPECT_EQ(highscoreFilePath("/some/where"), std::filesystem::path("/some/where/P1.dat"));
}

TEST(HighscoreFile, MissingFileIsCreatedEmptyAndReadsAsBlankRecords)
{
    test::TempFolder folder;
    HighscoreFile file(folder.file());
    ASSERT_TRUE(file.isOpen());
    for (int n = 1; n <= kHighscoreRecordCount; ++n) {
        HighscoreRecord record = entry(5, "stale", "stale");
        EXPECT_TRUE(file.read(n, record));
        EXPECT_EQ(record, HighscoreRecord{});
    }
    EXPECT_TRUE(file.close());
    ASSERT_TRUE(std::filesystem::exists(folder.file()));
    EXPECT_EQ(std::filesystem::file_size(folder.file()), 0u);
}

TEST(HighscoreFile, WritesAndReadsRecordsByNumberAtTheirOffsets)
{
    test::TempFolder folder;
    {
        HighscoreFile file(folder.file());
        EXPECT_TRUE(file.write(1, entry(300, "Erste", "01.01.00 00:00:01")));
        EXPECT_TRUE(file.write(2, entry(-7, "Zweite", "02.01.00 00:00:02")));
    }
    const auto bytes = folder.bytes();
    ASSERT_EQ(bytes.size(), 2 * kHighscoreRecordSize);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 39, bytes.end()),
              test::recordBytes(-7, "Zweite              ", "02.01.00 00:00:02"));

    HighscoreFile file(folder.file());
    HighscoreRecord record;
    EXPECT_TRUE(file.read(1, record));
    EXPECT_EQ(record, entry(300, "Erste", "01.01.00 00:00:01"));
    EXPECT_TRUE(file.read(2, record));
    EXPECT_EQ(record.points, -7);
}

TEST(HighscoreFile, RecordNumbersOutsideOneToElevenAreRefused)
{
    test::TempFolder folder;
    HighscoreFile file(folder.file());
    HighscoreRecord record;
    EXPECT_FALSE(file.read(0, record));
    EXPECT_FALSE(file.read(12, record));
    EXPECT_FALSE(file.write(0, record));
    EXPECT_FALSE(file.write(12, record));
    EXPECT_EQ(std::filesystem::file_size(folder.file()), 0u);
}

TEST(HighscoreFile, WritingBeyondTheEndFillsTheGapWithBlankRecords)
{
    test::TempFolder folder;
    // A short file ending inside record 2: points and four name bytes of it.
    auto content = test::recordBytes(9, std::string(20, 'A'), std::string(17, 'B'));
    content.insert(content.end(), {0x05, 0x00, 'W', 'X', 'Y', 'Z'});
    folder.setBytes(content);
    {
        HighscoreFile file(folder.file());
        EXPECT_TRUE(file.write(4, entry(1, "Vierter", "")));
    }
    const auto bytes = folder.bytes();
    ASSERT_EQ(bytes.size(), 4 * kHighscoreRecordSize);
    // Record 2 is completed with the blank record's bytes, record 3 is blank.
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 39, bytes.begin() + 78),
              test::recordBytes(5, "WXYZ" + std::string(16, ' '), std::string(17, ' ')));
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 78, bytes.begin() + 117), test::blankRecordBytes());
}

TEST(HighscoreFile, ShortFilesReadPartialRecordsCompletedWithBlanks)
{
    test::TempFolder folder;
    folder.setBytes({0x2A, 0x01, 'N', 'o', 'r', 'a'});
    HighscoreFile file(folder.file());
    HighscoreRecord record;
    EXPECT_TRUE(file.read(1, record));
    EXPECT_EQ(record, entry(0x012A, "Nora", ""));
    EXPECT_TRUE(file.read(2, record));
    EXPECT_EQ(record, HighscoreRecord{});

    // A single byte: the low half of the points only.
    folder.setBytes({0x07});
    HighscoreFile single(folder.file());
    EXPECT_TRUE(single.read(1, record));
    EXPECT_EQ(record.points, 7);
}

TEST(HighscoreFile, GarbageBytesDecodeWithoutFailing)
{
    test::TempFolder folder;
    std::vector<unsigned char> garbage(kHighscoreFileSize);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<unsigned char>(i * 97 + 13);
    folder.setBytes(garbage);
    HighscoreFile file(folder.file());
    for (int n = 1; n <= kHighscoreRecordCount; ++n) {
        HighscoreRecord record;
        EXPECT_TRUE(file.read(n, record));
        // Rewriting what was read gives the same bytes, apart from undefined ones becoming '?'.
        EXPECT_TRUE(file.write(n, record));
    }
    file.close();
    const auto rewritten = folder.bytes();
    ASSERT_EQ(rewritten.size(), garbage.size());
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        const bool undefined = garbage[i] == 0x81 || garbage[i] == 0x8D || garbage[i] == 0x8F ||
                               garbage[i] == 0x90 || garbage[i] == 0x9D;
        const bool textByte = i % kHighscoreRecordSize >= 2;
        EXPECT_EQ(rewritten[i], undefined && textByte ? '?' : garbage[i]) << "byte " << i;
    }
}

TEST(HighscoreFile, OversizedFileUsesItsFirstElevenRecordsAndKeepsTheRest)
{
    test::TempFolder folder;
    std::vector<unsigned char> content;
    for (int n = 1; n <= 13; ++n) {
        const auto record =
            test::recordBytes(n, std::string(20, static_cast<char>('a' + n)), std::string(17, '-'));
        content.insert(content.end(), record.begin(), record.end());
    }
    content.push_back('!');
    folder.setBytes(content);
    {
        HighscoreFile file(folder.file());
        HighscoreRecord record;
        EXPECT_TRUE(file.read(11, record));
        EXPECT_EQ(record.points, 11);
        EXPECT_EQ(record.name.str(), std::string(20, 'l'));
        EXPECT_TRUE(file.write(11, HighscoreRecord{}));
    }
    auto expected = content;
    const auto blank = test::blankRecordBytes();
    std::copy(blank.begin(), blank.end(), expected.begin() + 10 * 39);
    EXPECT_EQ(folder.bytes(), expected);
}

TEST(HighscoreFile, FailuresAreReportedInsteadOfCrashing)
{
    test::TempFolder folder;
    HighscoreRecord record = entry(3, "x", "y");

    HighscoreFile inMissingFolder(folder.path() / "no such folder" / "P1.dat");
    EXPECT_FALSE(inMissingFolder.isOpen());
    EXPECT_FALSE(inMissingFolder.read(1, record));
    EXPECT_EQ(record, HighscoreRecord{});
    EXPECT_FALSE(inMissingFolder.write(1, record));
    EXPECT_FALSE(inMissingFolder.close());

    std::filesystem::create_directory(folder.file());  // a folder in the file's place
    HighscoreFile onFolder(folder.file());
    EXPECT_FALSE(onFolder.isOpen());
    EXPECT_FALSE(onFolder.write(1, record));
}

}  // namespace
}  // namespace kv
