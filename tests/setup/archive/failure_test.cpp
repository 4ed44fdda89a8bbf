// Every way an extraction can fail: the message, its caption, and what is left behind.

#include <sys/stat.h>
#include <unistd.h>

#include "package_fixture.h"

namespace setup::testing {
namespace {

const std::string kUnpackFailedBox = std::string(kUnpackFailed) + " / Fehler";

class ExtractionFailure : public PackageFixture {
 protected:
  // Extracts `bad` between two good entries; the one after it must not be touched.
  void expectFailure(const mkpackage::EntryPlan& bad, const std::string& shown) {
    EXPECT_FALSE(extract(packagePlan({storedEntry("before.txt", "b"), bad, storedEntry("after.txt", "a")})));
    EXPECT_EQ(ui.shown(), std::vector<std::string>{shown});
    EXPECT_EQ(ui.messages.at(0).icon, Icon::Stop);
    EXPECT_EQ(contentOf("before.txt"), "b");
    EXPECT_FALSE(exists(target("after.txt")));
    EXPECT_FALSE(state.extractionOk);
  }
};

TEST_F(ExtractionFailure, EmptyNameIsInvalid) {
  expectFailure(storedEntry("", "x"), "Invalid filename. / Fehler");
  startOver();
  expectFailure(storedEntry(std::string("\0name", 5), "x"), "Invalid filename. / Fehler");
}

TEST_F(ExtractionFailure, UnknownMethodLeavesTheEmptyFileListed) {
  mkpackage::EntryPlan entry = storedEntry("implode.dat", "imploded data");
  entry.damage.methodField = 12;
  expectFailure(entry, "Unbekanntes Kompressionsformat / Fehler");
  EXPECT_TRUE(exists(target("implode.dat")));
  EXPECT_EQ(contentOf("implode.dat"), "");
  EXPECT_EQ(extractedFiles().back(), target("implode.dat"));
}

// The method decides first: an unknown one is refused before its size is looked at.
TEST_F(ExtractionFailure, UnknownMethodWinsOverASizeBeyondTheFile) {
  mkpackage::EntryPlan entry = storedEntry("implode.dat", "imploded data");
  entry.damage.methodField = 6;
  entry.damage.compressedSizeField = 0x7FFFFFF0;
  EXPECT_FALSE(extract(packagePlan({entry})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{"Unbekanntes Kompressionsformat / Fehler"});
  EXPECT_EQ(extractedFiles(), std::vector<std::string>{target("implode.dat")});
}

TEST_F(ExtractionFailure, CrcMismatchOfStoredAndDeflatedData) {
  mkpackage::EntryPlan stored = storedEntry("s.dat", "stored");
  stored.damage.wrongCrc = true;
  expectFailure(stored, kUnpackFailedBox);
}

TEST_F(ExtractionFailure, DamagedDeflateStreamsEndInTheCrcMessage) {
  for (auto damage : {mkpackage::DeflateDamage::InvalidBlockType, mkpackage::DeflateDamage::Truncated,
                      mkpackage::DeflateDamage::FlippedByte}) {
    SCOPED_TRACE(static_cast<int>(damage));
    startOver();
    mkpackage::EntryPlan entry = deflatedEntry("d.txt", compressibleText(100000));
    entry.damage.deflate = damage;
    expectFailure(entry, kUnpackFailedBox);
  }
}

TEST_F(ExtractionFailure, StoredSizeBeyondTheFileIsDamageNotAnEndlessRead) {
  mkpackage::EntryPlan entry = storedEntry("s.dat", "short");
  entry.damage.compressedSizeField = 0x7FFFFFF0;
  EXPECT_FALSE(extract(packagePlan({entry})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{kUnpackFailedBox});
}

// A size field that reaches past the end of the file marks a damaged package even when the
// Deflate stream itself ends in time: the entries behind it could not be found, and the run
// must not pass as a success with them missing.
TEST_F(ExtractionFailure, DeflatedSizeBeyondTheFileIsDamage) {
  mkpackage::EntryPlan entry = deflatedEntry("d.dat", compressibleText(1000));
  entry.damage.compressedSizeField = 0xFFFFFFF0;
  EXPECT_FALSE(extract(packagePlan({entry, storedEntry("hidden.txt", "never found")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{kUnpackFailedBox});
}

TEST_F(ExtractionFailure, EntryCutOffInsideItsHeaderIsDamage) {
  mkpackage::PackagePlan plan = packagePlan({storedEntry("a.txt", "a")});
  const mkpackage::Bytes next = mkpackage::encodeEntry(storedEntry("b.txt", "b"));
  plan.tail.assign(next.begin(), next.begin() + 20);
  EXPECT_FALSE(extract(plan));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{kUnpackFailedBox});
}

TEST_F(ExtractionFailure, NoEntryAtAllIsAFailedRun) {
  EXPECT_FALSE(extract(packagePlan({})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{kUnpackFailedBox});
  EXPECT_EQ(ui.statusTexts, std::vector<std::string>{"Error extracting file(s)."});
}

TEST_F(ExtractionFailure, ArchiveStartBeyondTheFileCannotBeRead) {
  open(packagePlan({storedEntry("a", "a")}));
  settings.archiveStart = 1LL << 40;
  EXPECT_FALSE(extract());
  EXPECT_EQ(ui.shown(), std::vector<std::string>{"Error reading archive. / Fehler"});
}

TEST_F(ExtractionFailure, FileWhereAFolderMustGoIsAnErrorInDirectory) {
  EXPECT_FALSE(extract(packagePlan({storedEntry("sounds", "a file"),
                                    storedEntry("sounds/deep/sound1.wav", "s")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{target("sounds/deep") + " / Error in directory .."});
  EXPECT_EQ(contentOf("sounds"), "a file");
}

TEST_F(ExtractionFailure, FolderWhereAFileMustGoCannotBeOpened) {
  EXPECT_FALSE(extract(packagePlan({storedEntry("d/f.txt", "f"), storedEntry("d", "file")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{target("d") + " / Kann Datei nicht öffnen .."});
}

TEST_F(ExtractionFailure, LinkAtTheTargetIsNotFollowed) {
  const std::string outside = dir.write("outside.txt", "precious");
  ASSERT_EQ(mkdir(workFolder.c_str(), 0700), 0);
  ASSERT_EQ(symlink(outside.c_str(), target("kv5").c_str()), 0);
  EXPECT_FALSE(extract(packagePlan({storedEntry("kv5", "evil")})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{target("kv5") + " / Kann Datei nicht öffnen .."});
  EXPECT_EQ(TempDir::read(outside), "precious");
}

}  // namespace
}  // namespace setup::testing
