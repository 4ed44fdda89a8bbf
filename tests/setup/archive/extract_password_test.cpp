#include "extract_fixture.h"

namespace setup {
namespace {

using testing::entry;
using testing::EntryFields;
using testing::ExtractTest;
using testing::kUnpackFailed;

EntryFields locked(const std::string& name, const std::string& data, const std::string& password,
                 uint16_t method = 0) {
  EntryFields fields = entry(name, data);
  fields.password = password;
  fields.method = method;
  return fields;
}

TEST_F(ExtractTest, APasswordIsAskedOnceAndKeptForLaterEntries) {
  EntryFields second = locked("b.txt", std::string(70000, 'b'), "geheim", 8);
  second.flags = 8;  // check byte from the time instead of the CRC
  ui_.passwords = {"geheim"};
  ASSERT_TRUE(extract({locked("a.txt", "alpha", "geheim"), second}));
  EXPECT_EQ(ui_.passwordPrompts, 1);
  EXPECT_STREQ(state_.archivePassword, "geheim");
  EXPECT_EQ(unpacked("a.txt"), "alpha");
  EXPECT_EQ(unpacked("b.txt"), second.data);
}

TEST_F(ExtractTest, WrongAndEmptyAnswersAreAskedAgain) {
  ui_.passwords = {"falsch", "", "richtig"};
  ASSERT_TRUE(extract({locked("a.txt", "alpha", "richtig")}));
  EXPECT_EQ(ui_.passwordPrompts, 3);
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(unpacked("a.txt"), "alpha");
}

TEST_F(ExtractTest, ARememberedPasswordThatFailsLeadsToThePrompt) {
  ui_.passwords = {"one", "two"};
  ASSERT_TRUE(extract({locked("a", "1", "one"), locked("b", "2", "two")}));
  EXPECT_EQ(ui_.passwordPrompts, 2);
  EXPECT_EQ(unpacked("b"), "2");
}

TEST_F(ExtractTest, AnEntryNoAnswerOpensFailsTheRunWhereverItIs) {
  ui_.passwords = {"x", "y", "z"};
  EXPECT_FALSE(extract({locked("first", "1", "secret"), entry("second", "2")}));
  EXPECT_EQ(ui_.passwordPrompts, 3);
  EXPECT_FALSE(exists("first"));
  EXPECT_FALSE(exists("second"));  // the walk ended there
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
  EXPECT_EQ(ui_.statusTexts.back(), "Error extracting file(s).");
}

TEST_F(ExtractTest, CancelEndsTheExtractionWithoutAMessage) {
  ui_.passwords = {std::nullopt};
  EXPECT_FALSE(extract({locked("first", "1", "secret"), entry("second", "2")}));
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_FALSE(exists("second"));
  EXPECT_FALSE(state_.extractionOk);
}

TEST_F(ExtractTest, AnEncryptedEntryTooShortForItsHeaderIsDamaged) {
  EntryFields fields = locked("a", "1", "pw");
  fields.compressedSizeField = 5;
  ui_.passwords = {"pw"};
  EXPECT_FALSE(extract({fields}));
  EXPECT_EQ(ui_.shown(), std::vector<std::string>{kUnpackFailed});
  EXPECT_EQ(ui_.passwordPrompts, 0);
}

}  // namespace
}  // namespace setup
