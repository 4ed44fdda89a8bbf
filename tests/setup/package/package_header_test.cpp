#include <gtest/gtest.h>

#include "setup/support/package_file.h"
#include "setup/package/package_header.h"
#include "setup/support/package_bytes.h"

namespace setup {
namespace {

using testing::HeaderFields;
using testing::PackageFile;
using testing::TempDir;

class PackageHeaderTest : public ::testing::Test {
protected:
  // Reads both halves of the header of `bytes` (image padding prepended).
  bool read(const std::string& bytes) {
    file_.emplace(dir_, testing::imagePadding() + bytes);
    const bool fixed = readFixedHeader(file_->fd(), settings_);
    return readVariableHeader(file_->fd(), settings_) && fixed;
  }
  void TearDown() override { releasePackageSettings(settings_); }

  TempDir dir_;
  std::optional<PackageFile> file_;
  PackageSettings settings_{};
};

TEST_F(PackageHeaderTest, ReadsEveryFieldAndText) {
  HeaderFields fields;
  fields.keepWindowOpen = 1;
  fields.adminOnly = 0;
  fields.hideInfoButton = 0;
  fields.multiVolume = 1;
  fields.advancedInf = 0;
  fields.totalSize = 2050773;
  fields.productName = "K\xC4RVELO";
  fields.notice = "Hinweis \x96 frei.";
  fields.welcomeText = "Willkommen!\r\nSch\xF6n.";
  fields.licenceText = "Lizenz \x80";
  ASSERT_TRUE(read(testing::headerBytes(fields) + "RSFX"));

  const PackageHeader& h = settings_.header;
  EXPECT_EQ(std::string(h.magic, 3), "MRI");
  EXPECT_EQ(h.keepWindowOpen, 1);
  EXPECT_EQ(h.productNameLength, 7);
  EXPECT_EQ(h.infNameLength, 12);
  EXPECT_EQ(h.adminOnly, 0);
  EXPECT_EQ(h.noticeLength, 15);
  EXPECT_EQ(h.welcomeTextLength, 19);
  EXPECT_EQ(h.licenceTextLength, 8);
  EXPECT_EQ(h.hideInfoButton, 0);
  EXPECT_EQ(h.multiVolume, 1);
  EXPECT_EQ(h.advancedInf, 0);
  EXPECT_EQ(h.totalSize, 2050773u);
  EXPECT_STREQ(settings_.productName, "KÄRVELO");
  EXPECT_STREQ(settings_.infName, "KARV10G1.INF");
  EXPECT_STREQ(settings_.notice, "Hinweis – frei.");
  EXPECT_STREQ(settings_.welcomeText, "Willkommen!\r\nSchön.");
  EXPECT_STREQ(settings_.licenceText, "Lizenz €");
  // Measured from the stored lengths, not the converted ones.
  EXPECT_EQ(settings_.archiveStart, 35351 + 7 + 12 + 15 + 19 + 8);
}

TEST_F(PackageHeaderTest, ShippedLayoutStartsTheArchiveAt35398) {
  HeaderFields fields;
  fields.notice = std::string(28, 'n');
  ASSERT_TRUE(read(testing::headerBytes(fields)));
  EXPECT_EQ(settings_.archiveStart, 35398);
  EXPECT_STREQ(settings_.welcomeText,
               "\r\r\rBitte klicken Sie \"Installieren\", um die Installation zu starten.");
  EXPECT_STREQ(settings_.licenceText, "");
}

TEST_F(PackageHeaderTest, WithoutProductName) {
  HeaderFields fields;
  fields.productName = "";
  ASSERT_TRUE(read(testing::headerBytes(fields)));
  EXPECT_EQ(settings_.header.productNameLength, 0);
  EXPECT_STREQ(settings_.productName, "");
  EXPECT_STREQ(settings_.infName, "KARV10G1.INF");
}

TEST_F(PackageHeaderTest, WithoutMagicNothingIsRead) {
  HeaderFields fields;
  fields.magic = "MRX";
  EXPECT_FALSE(read(testing::headerBytes(fields)));
  EXPECT_FALSE(settings_.hasMagic);
  EXPECT_FALSE(settings_.variablePartRead);
  EXPECT_EQ(settings_.header.adminOnly, 0);
  EXPECT_EQ(settings_.notice, nullptr);
}

TEST_F(PackageHeaderTest, FileEndingInsideTheFixedPartHasNoMagic) {
  EXPECT_FALSE(read("MRI\0\7"));
  EXPECT_FALSE(settings_.hasMagic);
}

TEST_F(PackageHeaderTest, RefusesLengthsThatCannotBeTrue) {
  HeaderFields negative;
  negative.licenceLengthField = -5;
  EXPECT_FALSE(read(testing::headerBytes(negative) + std::string(100, 'x')));
  EXPECT_TRUE(settings_.hasMagic);
  EXPECT_FALSE(settings_.variablePartRead);

  // A welcome text "of 2 GB" in a file of a few kilobytes.
  HeaderFields oversized;
  oversized.welcomeLengthField = 0x7FFFFFF0;
  EXPECT_FALSE(read(testing::headerBytes(oversized) + std::string(100, 'x')));
  EXPECT_FALSE(settings_.variablePartRead);
  EXPECT_EQ(settings_.welcomeText, nullptr);

  // One byte short of the stated texts.
  HeaderFields cut;
  cut.licenceText = "abcdef";
  const std::string bytes = testing::headerBytes(cut);
  EXPECT_FALSE(read(bytes.substr(0, bytes.size() - 1)));
  // Exactly the stated texts and nothing behind them is still readable.
  EXPECT_TRUE(read(bytes));
  EXPECT_STREQ(settings_.licenceText, "abcdef");
}

}  // namespace
}  // namespace setup
