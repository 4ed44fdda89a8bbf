// Extraction of well-formed entries: content, folders, times, progress texts.

#include <sys/stat.h>

#include "package_fixture.h"
#include "setup/support/time_zone.h"

namespace setup::testing {
namespace {

class Extraction : public PackageFixture {};

TEST_F(Extraction, StoredDeflatedAndEmptyEntriesArriveByteForByte) {
  std::string binary(70000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 2654435761u >> 13);
  mkpackage::EntryPlan empty = storedEntry("empty.txt", "");
  mkpackage::EntryPlan emptyDeflated = deflatedEntry("empty-deflated.txt", "");
  ASSERT_TRUE(extract(packagePlan({
      deflatedEntry("readme.txt", compressibleText(200000)),  // several 32 KB chunks both ways
      storedEntry("kv5", binary),
      empty,
      emptyDeflated,
      deflatedEntry("P1.dat", binary),  // hardly compressible
  })));
  EXPECT_EQ(contentOf("readme.txt"), compressibleText(200000));
  EXPECT_EQ(contentOf("kv5"), binary);
  EXPECT_EQ(contentOf("P1.dat"), binary);
  EXPECT_TRUE(exists(target("empty.txt")));
  EXPECT_EQ(contentOf("empty.txt"), "");
  EXPECT_EQ(contentOf("empty-deflated.txt"), "");
  EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.shown());
  EXPECT_TRUE(state.extractionOk);
}

// Long runs of zeros just past the inflate output buffer: for some of these sizes the
// inflater takes in the last input byte in the call that fills the buffer and still holds
// output back, which a further call with no new input has to collect.
TEST_F(Extraction, DeflatedRunsFillingTheOutputBufferWithNoInputLeft) {
  std::vector<mkpackage::EntryPlan> entries;
  for (std::size_t extra = 1; extra <= 64; ++extra)
    entries.push_back(deflatedEntry("z" + std::to_string(extra), std::string(262144 + extra, '\0')));
  ASSERT_TRUE(extract(packagePlan(entries))) << ::testing::PrintToString(ui.shown());
  for (std::size_t extra = 1; extra <= 64; ++extra)
    EXPECT_EQ(contentOf("z" + std::to_string(extra)).size(), 262144 + extra) << extra;
}

TEST_F(Extraction, ProgressTextNamesEachTargetAndLetsOneEventThrough) {
  ASSERT_TRUE(extract(packagePlan({storedEntry("a.txt", "a"), deflatedEntry("b\\c.txt", "b")})));
  EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{
                                "\r\n\r\n\r\n\r\n  Entpacke: " + target("a.txt"),
                                "\r\n\r\n\r\n\r\n  Entpacke: " + target("b/c.txt"),
                            }));
  EXPECT_EQ(ui.eventsProcessed, 2);
  EXPECT_EQ(extractedFiles(), (std::vector<std::string>{target("a.txt"), target("b/c.txt")}));
}

TEST_F(Extraction, SlashAndBackslashNamesCreateSubFolders) {
  ASSERT_TRUE(extract(packagePlan({
      storedEntry("sounds/sound1.wav", "one"),
      storedEntry("sounds\\sound2.wav", "two"),
      deflatedEntry("doc\\de/liesmich.txt", "drei"),
  })));
  EXPECT_EQ(contentOf("sounds/sound1.wav"), "one");
  EXPECT_EQ(contentOf("sounds/sound2.wav"), "two");
  EXPECT_EQ(contentOf("doc/de/liesmich.txt"), "drei");
  EXPECT_EQ(listTree(workFolder), (std::vector<std::string>{"doc", "doc/de", "doc/de/liesmich.txt",
                                                            "sounds", "sounds/sound1.wav",
                                                            "sounds/sound2.wav"}));
}

TEST_F(Extraction, DataDescriptorsBetweenEntriesAreSkipped) {
  mkpackage::EntryPlan first = deflatedEntry("first.txt", compressibleText(5000));
  first.dataDescriptor = true;
  mkpackage::EntryPlan second = storedEntry("second.txt", "second");
  second.dataDescriptor = true;
  second.checkByteFromTime = true;  // bit 3 as real writers set it with descriptors
  ASSERT_TRUE(extract(packagePlan({first, second, storedEntry("third.txt", "third")})));
  EXPECT_EQ(contentOf("first.txt"), compressibleText(5000));
  EXPECT_EQ(contentOf("second.txt"), "second");
  EXPECT_EQ(contentOf("third.txt"), "third");
}

TEST_F(Extraction, AlternativeSignatureIsReadAsAnEntry) {
  mkpackage::EntryPlan odd = storedEntry("odd.txt", "odd");
  odd.damage.signature = 0x50000000;
  ASSERT_TRUE(extract(packagePlan({odd, storedEntry("next.txt", "next")})));
  EXPECT_EQ(contentOf("odd.txt"), "odd");
  EXPECT_EQ(contentOf("next.txt"), "next");
}

TEST_F(Extraction, NameIsCutAtItsFirstNul) {
  ASSERT_TRUE(extract(packagePlan({storedEntry(std::string("kv5\0.bak", 8), "game")})));
  EXPECT_EQ(contentOf("kv5"), "game");
  EXPECT_EQ(listTree(workFolder), std::vector<std::string>{"kv5"});
}

TEST_F(Extraction, WalkStopsAtTheTrailerAndIgnoresWhatFollows) {
  mkpackage::PackagePlan plan = packagePlan({storedEntry("a.txt", "a")});
  plan.tail = {'R', 'S', 'F', 'X'};
  const mkpackage::Bytes later = mkpackage::encodeEntry(storedEntry("after.txt", "after"));
  plan.tail.insert(plan.tail.end(), later.begin(), later.end());
  ASSERT_TRUE(extract(plan));
  EXPECT_FALSE(exists(target("after.txt")));
}

TEST_F(Extraction, ExistingFilesAreReplaced) {
  dir.write("$Pakorix.Tmp/kv5", std::string(5000, 'o'));
  ASSERT_EQ(chmod(workFolder.c_str(), 0700), 0);
  ASSERT_TRUE(extract(packagePlan({storedEntry("kv5", "new")})));
  EXPECT_EQ(contentOf("kv5"), "new");
}

TEST_F(Extraction, EveryCreatedFileIsListedBeyond255) {
  std::vector<mkpackage::EntryPlan> entries;
  for (int i = 0; i < 300; ++i) entries.push_back(storedEntry("f/" + std::to_string(i), "x"));
  ASSERT_TRUE(extract(packagePlan(entries)));
  ASSERT_EQ(extractedFiles().size(), 300u);
  EXPECT_EQ(extractedFiles()[299], target("f/299"));
  deleteExtractedFiles(state, workFolder.c_str(), ui);
  removeCreatedFolders(state);
  EXPECT_TRUE(listTree(workFolder).empty());
}

TEST_F(Extraction, WorkFolderIsCreatedPrivate) {
  ASSERT_TRUE(extract(packagePlan({storedEntry("a", "a")})));
  struct stat st {};
  ASSERT_EQ(stat(workFolder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

using setup::testing::TimeZone;

time_t utc(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return timegm(&tm);
}

time_t mtimeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

TEST_F(Extraction, EntryTimesAreLocalTimeIncludingSummerTime) {
  TimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
  mkpackage::EntryPlan summer = storedEntry("summer.txt", "s");
  summer.modified = mkpackage::makeDosDateTime(2023, 7, 14, 9, 26, 54);
  mkpackage::EntryPlan winter = deflatedEntry("winter.txt", "w");
  winter.modified = mkpackage::makeDosDateTime(1999, 12, 31, 23, 59, 58);
  mkpackage::EntryPlan epoch = storedEntry("epoch.txt", "e");
  epoch.modified = mkpackage::makeDosDateTime(1980, 1, 1, 0, 0, 0);
  ASSERT_TRUE(extract(packagePlan({summer, winter, epoch})));
  EXPECT_EQ(mtimeOf(target("summer.txt")), utc(2023, 7, 14, 7, 26, 54));   // UTC+2
  EXPECT_EQ(mtimeOf(target("winter.txt")), utc(1999, 12, 31, 22, 59, 58)); // UTC+1
  EXPECT_EQ(mtimeOf(target("epoch.txt")), utc(1979, 12, 31, 23, 0, 0));
}

}  // namespace
}  // namespace setup::testing
