#include <sys/stat.h>

#include "extract_fixture.h"
#include "common/package_format/dos_time.h"

namespace setup {
namespace {

using testing::entry;
using testing::EntryFields;
using testing::ExtractTest;
using testing::kUnpackFailed;

// Not compressible to nothing, and longer than several 32 KB chunks.
std::string sample(size_t size) {
  std::string data(size, '\0');
  uint32_t state = 7;
  for (char& c : data) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>((state >> 16) % 40 + 'A');
  }
  return data;
}

TEST_F(ExtractTest, UnpacksStoredAndDeflatedEntriesIntoTheirFolders) {
  EntryFields readme = entry("readme.txt", "Viel Spa\xDF!");
  readme.dataDescriptor = true;
  EntryFields sound = entry("sounds\\sound1.wav", sample(200000));
  sound.method = 8;
  sound.flags = 2;  // a compression option: ignored
  EntryFields empty = entry("deep/er/empty", "");
  EntryFields odd = entry("P1.dat", sample(39 * 11));
  odd.signature = 0x50000000u;

  ASSERT_TRUE(extract({readme, sound, empty, odd}));
  EXPECT_TRUE(state_.extractionOk);
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(unpacked("readme.txt"), readme.data);
  EXPECT_EQ(unpacked("sounds/sound1.wav"), sound.data);
  EXPECT_EQ(unpacked("deep/er/empty"), "");
  EXPECT_EQ(unpacked("P1.dat"), odd.data);
  const std::string w = workFolder_ + "/";
  EXPECT_EQ(list(state_.extractedFiles),
            (std::vector<std::string>{w + "readme.txt", w + "sounds/sound1.wav",
                                      w + "deep/er/empty", w + "P1.dat"}));
  EXPECT_EQ(list(state_.createdFolders),
            (std::vector<std::string>{"sounds", "deep", "deep/er"}));
  ASSERT_EQ(ui_.statusTexts.size(), 4u);
  EXPECT_EQ(ui_.statusTexts[1], "\r\n\r\n\r\n\r\n  Entpacke: " + w + "sounds/sound1.wav");
  EXPECT_EQ(ui_.eventsProcessed, 4);
}

TEST_F(ExtractTest, GivesFilesTheirStoredTimeAsLocalTime) {
  EntryFields fields = entry("kv5", "ELF");
  fields.modDate = (44 << 9) | (7 << 5) | 14;  // 2024-07-14
  fields.modTime = (9 << 11) | (41 << 5) | 3;  // 09:41:06
  ASSERT_TRUE(extract({fields}));
  time_t expected;
  ASSERT_TRUE(common::dosDateTimeToTime(fields.modDate, fields.modTime, expected));
  struct stat info;
  ASSERT_EQ(stat((workFolder_ + "/kv5").c_str(), &info), 0);
  EXPECT_EQ(info.st_mtim.tv_sec, expected);
}

TEST_F(ExtractTest, CreatesTheWorkFolderPrivatelyAndFolderEntriesAsFolders) {
  ASSERT_TRUE(extract({entry("sounds/", ""), entry("sounds/a.wav", "RIFF")}));
  struct stat info;
  ASSERT_EQ(stat(workFolder_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(unpacked("sounds/a.wav"), "RIFF");
  EXPECT_EQ(state_.extractedFiles.count, 1u);
}

TEST_F(ExtractTest, ListsEveryFileBeyondTheOld255) {
  std::vector<EntryFields> entries;
  for (int i = 0; i < 300; ++i) entries.push_back(entry("f" + std::to_string(i), "x"));
  ASSERT_TRUE(extract(entries));
  ASSERT_EQ(state_.extractedFiles.count, 300u);
  EXPECT_EQ(std::string(state_.extractedFiles.items[299]), workFolder_ + "/f299");
}

TEST_F(ExtractTest, CleanUpDeletesFilesAndTheEmptyFoldersItMade) {
  ASSERT_TRUE(extract({entry("a/b/one", "1"), entry("a/two", "2"), entry("c/three", "3")}));
  dir_.write("tmp/$Pakorix.Tmp/c/user-file", "not ours");
  deleteExtractedFiles(state_, workFolder_.c_str(), ui_);
  EXPECT_FALSE(exists("a/b/one"));
  EXPECT_FALSE(exists("c/three"));
  EXPECT_EQ(ui_.statusTexts.back(), "\r\n\r\n\r\n\r\nLösche " + workFolder_ + "/c/three");
  EXPECT_EQ(state_.extractedFiles.count, 0u);
  removeCreatedFolders(state_);
  EXPECT_FALSE(exists("a"));
  EXPECT_TRUE(exists("c/user-file"));  // a folder that is not empty stays
}

TEST_F(ExtractTest, AWalkWithoutEntriesFails) {
  EXPECT_FALSE(extract(""));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
  EXPECT_EQ(ui_.statusTexts, std::vector<std::string>{"Error extracting file(s)."});
}

TEST_F(ExtractTest, AnArchiveStartBeyondTheFileCannotBeRead) {
  file_.emplace(dir_, "tiny");
  settings_.archiveStart = 35398;
  EXPECT_FALSE(extractArchive(file_->fd(), settings_, workFolder_.c_str(), ui_, state_));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{"Error reading archive. / Fehler"});
}

}  // namespace
}  // namespace setup
