#include <filesystem>

#include "extract_fixture.h"
#include "setup/platform/path_text.h"

namespace setup {
namespace {

using testing::entry;
using testing::EntryFields;
using testing::ExtractTest;
using testing::kUnpackFailed;

TEST_F(ExtractTest, RefusesNamesThatWouldLeaveTheWorkFolder) {
  for (const std::string& name :
       {std::string("../escaped"), std::string("/tmp/escaped"), std::string("a\\..\\..\\escaped"),
        std::string(""), std::string("\0hidden", 7)}) {
    ui_ = testing::FakeSetupUi();
    EXPECT_FALSE(extract({entry("first", "1"), entry(name, "evil")})) << name;
    EXPECT_EQ(ui_.shown(), std::vector<std::string>{"Invalid filename. / Fehler"}) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.file("tmp/escaped")));
  EXPECT_FALSE(std::filesystem::exists(dir_.file("escaped")));
}

TEST_F(ExtractTest, NeverWritesThroughALink) {
  const std::string outside = dir_.write("outside/target", "precious");
  std::filesystem::create_directories(workFolder_);
  std::filesystem::create_symlink(outside, workFolder_ + "/kv5");
  EXPECT_FALSE(extract({entry("kv5", "overwritten")}));
  EXPECT_EQ(ui_.shown(),
            std::vector<std::string>{workFolder_ + "/kv5 / Kann Datei nicht öffnen .."});

  ui_ = testing::FakeSetupUi();
  std::filesystem::create_directory_symlink(dir_.file("outside"), workFolder_ + "/sounds");
  EXPECT_FALSE(extract({entry("sounds/target", "overwritten")}));
  EXPECT_EQ(ui_.shown(),
            std::vector<std::string>{workFolder_ + "/sounds / Error in directory .."});
  EXPECT_EQ(testing::TempDir::read(outside), "precious");
}

TEST_F(ExtractTest, AlwaysReportsAFileThatCannotBeCreated) {
  std::filesystem::create_directories(workFolder_ + "/kv5");
  EXPECT_FALSE(extract({entry("kv5", "x"), entry("later", "y")}));
  EXPECT_EQ(ui_.shown(),
            std::vector<std::string>{workFolder_ + "/kv5 / Kann Datei nicht öffnen .."});
  EXPECT_FALSE(exists("later"));
}

TEST_F(ExtractTest, ReplacesAnExistingFile) {
  dir_.write("tmp/$Pakorix.Tmp/P1.dat", std::string(1000, 'o'));
  ASSERT_TRUE(extract({entry("P1.dat", "new")}));
  EXPECT_EQ(unpacked("P1.dat"), "new");
}

TEST_F(ExtractTest, UnknownMethodLeavesTheFileEmptyAndListed) {
  EntryFields fields = entry("bzip", "data");
  fields.method = 12;
  EXPECT_FALSE(extract({fields, entry("after", "a")}));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{"Unbekanntes Kompressionsformat / Fehler"});
  EXPECT_EQ(unpacked("bzip"), "");
  EXPECT_EQ(state_.extractedFiles.count, 1u);
  EXPECT_FALSE(exists("after"));
}

TEST_F(ExtractTest, DamagedDataEndsInTheCrcMessage) {
  EntryFields wrongCrc = entry("stored", "content");
  wrongCrc.crcField = 0x12345678u;

  EntryFields brokenStream = entry("deflated", std::string(5000, 'z'));
  brokenStream.method = 8;
  std::string archive = testing::entryBytes(brokenStream);
  archive[30 + 8] = '\xFF';  // the first byte of the Deflate data: reserved block type

  // Claims far more data than the file holds.
  EntryFields overlong = entry("overlong", "short");
  overlong.compressedSizeField = 0x7FFFFFFFu;

  for (const std::string& bytes :
       {testing::entryBytes(wrongCrc), archive, testing::entryBytes(overlong)}) {
    ui_ = testing::FakeSetupUi();
    EXPECT_FALSE(extract(bytes));
    EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
    EXPECT_FALSE(state_.extractionOk);
  }
}

TEST_F(ExtractTest, ACutDeflateStreamIsDamagedEvenWithoutACrcCheck) {
  EntryFields fields = entry("cut", std::string(100000, 'c'));
  fields.method = 8;
  std::string bytes = testing::entryBytes(fields);
  const std::string deflated = testing::rawDeflate(fields.data);
  // Declare (and keep) only half of the stream.
  const uint32_t half = static_cast<uint32_t>(deflated.size() / 2);
  std::string shortened = bytes.substr(0, 18);
  testing::putLe32(shortened, half);
  shortened += bytes.substr(22, 8 + 3) + deflated.substr(0, half);
  EXPECT_FALSE(extract(shortened));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
}

TEST_F(ExtractTest, AnEntryHeaderCutShortIsDamaged) {
  const std::string whole = testing::entryBytes(entry("a", "1"));
  EXPECT_FALSE(extract(whole + whole.substr(0, 20), ""));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
}

// A name is read only as far as a path below the work folder can hold it.
TEST_F(ExtractTest, NamesLongerThanAPathAreRefusedUnlessANulCutsThemShort) {
  EXPECT_FALSE(extract({entry(std::string(5000, 'n'), "x")}));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{"Invalid filename. / Fehler"});

  ui_ = testing::FakeSetupUi();
  EXPECT_TRUE(extract({entry("kv5" + std::string(1, '\0') + std::string(5000, 'n'), "game")}));
  EXPECT_EQ(unpacked("kv5"), "game");

  // A work folder that already fills a path leaves no room for any name.
  for (std::size_t length : {kPathSize - 2, kPathSize - 1}) {
    ui_ = testing::FakeSetupUi();
    workFolder_ = dir_.file("");
    workFolder_.resize(length, 'w');
    EXPECT_FALSE(extract({entry(std::string(5000, 'n'), "x")})) << length;
    EXPECT_EQ(ui_.shown(), std::vector<std::string>{"Invalid filename. / Fehler"}) << length;
  }
}

}  // namespace
}  // namespace setup
