// Encrypted entries: the password prompt, its answers and the remembered password.

#include "package_fixture.h"

namespace setup::testing {
namespace {

mkpackage::EntryPlan sealed(mkpackage::EntryPlan entry, const std::string& password) {
  entry.password = password;
  return entry;
}

class Encryption : public PackageFixture {};

TEST_F(Encryption, RightPasswordOpensStoredAndDeflatedEntries) {
  ui.passwords = {"geheim"};
  mkpackage::EntryPlan byTime = sealed(storedEntry("b.bin", std::string(40000, 'b')), "geheim");
  byTime.checkByteFromTime = true;
  ASSERT_TRUE(extract(packagePlan({sealed(deflatedEntry("a.txt", compressibleText(90000)), "geheim"),
                                   byTime})));
  EXPECT_EQ(contentOf("a.txt"), compressibleText(90000));
  EXPECT_EQ(contentOf("b.bin"), std::string(40000, 'b'));
  EXPECT_EQ(ui.passwordPrompts, 1);  // the second entry reuses the remembered password
  EXPECT_STREQ(state.archivePassword, "geheim");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Encryption, WrongAnswerIsFollowedByAnotherPrompt) {
  ui.passwords = {"falsch", "geheim"};
  ASSERT_TRUE(extract(packagePlan({sealed(storedEntry("a.txt", "a"), "geheim")})));
  EXPECT_EQ(ui.passwordPrompts, 2);
  EXPECT_EQ(contentOf("a.txt"), "a");
}

TEST_F(Encryption, EmptyAnswerIsRejectedWithoutATrial) {
  ui.passwords = {"", "geheim"};
  ASSERT_TRUE(extract(packagePlan({sealed(storedEntry("a.txt", "a"), "geheim")})));
  EXPECT_EQ(ui.passwordPrompts, 2);
  EXPECT_STREQ(state.archivePassword, "geheim");
}

TEST_F(Encryption, ThreeWrongAnswersSkipTheEntryAndFailTheRun) {
  ui.passwords = {"eins", "zwei", "drei", "vier"};
  EXPECT_FALSE(extract(packagePlan({sealed(storedEntry("a.txt", "a"), "geheim")})));
  EXPECT_EQ(ui.passwordPrompts, 3);
  EXPECT_FALSE(exists(target("a.txt")));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{std::string(kUnpackFailed) + " / Fehler"});
  ASSERT_FALSE(ui.statusTexts.empty());
  EXPECT_EQ(ui.statusTexts.back(), "Error extracting file(s).");
  EXPECT_FALSE(state.extractionOk);
}

TEST_F(Encryption, EntryNoAnswerOpensEndsTheWalkThere) {
  ui.passwords = {"eins", "zwei", "drei", "geheim", "geheim", "geheim"};
  EXPECT_FALSE(extract(packagePlan({storedEntry("before.txt", "0"),
                                    sealed(storedEntry("a.txt", "a"), "geheim"),
                                    sealed(storedEntry("b.txt", "b"), "geheim"),
                                    storedEntry("c.txt", "c")})));
  // No prompt for the second encrypted entry, nothing after the first one written.
  EXPECT_EQ(ui.passwordPrompts, 3);
  EXPECT_EQ(contentOf("before.txt"), "0");
  EXPECT_EQ(listTree(workFolder), std::vector<std::string>{"before.txt"});
  EXPECT_EQ(ui.shown(), std::vector<std::string>{std::string(kUnpackFailed) + " / Fehler"});
  EXPECT_EQ(ui.statusTexts.back(), "Error extracting file(s).");
}

TEST_F(Encryption, CancelEndsTheExtractionSilently) {
  ui.passwords = {std::nullopt};
  EXPECT_FALSE(extract(packagePlan({storedEntry("plain.txt", "p"),
                                    sealed(storedEntry("a.txt", "a"), "geheim"),
                                    storedEntry("after.txt", "x")})));
  EXPECT_EQ(ui.passwordPrompts, 1);
  EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(ui.shown());
  EXPECT_TRUE(exists(target("plain.txt")));
  EXPECT_FALSE(exists(target("a.txt")));
  EXPECT_FALSE(exists(target("after.txt")));
}

TEST_F(Encryption, RememberedPasswordThatFailsLeadsToANewPrompt) {
  ui.passwords = {"erstes", "zweites"};
  ASSERT_TRUE(extract(packagePlan({sealed(storedEntry("a.txt", "a"), "erstes"),
                                   sealed(deflatedEntry("b.txt", "b"), "zweites"),
                                   sealed(storedEntry("c.txt", "c"), "zweites")})));
  EXPECT_EQ(ui.passwordPrompts, 2);
  EXPECT_EQ(contentOf("b.txt"), "b");
  EXPECT_EQ(contentOf("c.txt"), "c");
}

TEST_F(Encryption, DamagedEncryptedDataFailsTheCrcCheck) {
  ui.passwords = {"geheim"};
  mkpackage::EntryPlan entry = sealed(deflatedEntry("a.txt", compressibleText(3000)), "geheim");
  entry.damage.deflate = mkpackage::DeflateDamage::FlippedByte;
  EXPECT_FALSE(extract(packagePlan({entry})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{std::string(kUnpackFailed) + " / Fehler"});
}

TEST_F(Encryption, SizeTooSmallForTheEncryptionHeaderIsDamage) {
  ui.passwords = {"geheim"};
  mkpackage::EntryPlan entry = sealed(storedEntry("a.txt", "abc"), "geheim");
  entry.damage.compressedSizeField = 5;
  EXPECT_FALSE(extract(packagePlan({entry})));
  EXPECT_EQ(ui.shown(), std::vector<std::string>{std::string(kUnpackFailed) + " / Fehler"});
}

}  // namespace
}  // namespace setup::testing
