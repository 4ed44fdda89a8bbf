#include <gtest/gtest.h>

#include "setup/support/package_file.h"
#include "setup/package/completeness.h"
#include "setup/package/package_header.h"
#include "setup/support/fake_setup_ui.h"
#include "setup/support/package_bytes.h"

namespace setup {
namespace {

using testing::FakeSetupUi;
using testing::HeaderFields;
using testing::PackageFile;
using testing::TempDir;

const std::string kIncomplete =
    "Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden. / Fehler";

class CompletenessTest : public ::testing::Test {
protected:
  // Header, then `archive` as the package's archive part and ending.
  bool complete(const std::string& archive, HeaderFields fields = HeaderFields()) {
    return completeFile(testing::imagePadding() + testing::headerBytes(fields) + archive);
  }
  bool completeFile(const std::string& bytes) {
    PackageFile file(dir_, bytes);
    PackageSettings settings{};
    readFixedHeader(file.fd(), settings);
    readVariableHeader(file.fd(), settings);
    ui_ = FakeSetupUi();
    const bool result = checkPackageComplete(file.fd(), settings, ui_);
    releasePackageSettings(settings);
    // The message comes exactly when the check fails.
    EXPECT_EQ(ui_.shown(), result ? std::vector<std::string>{}
                                   : std::vector<std::string>{kIncomplete});
    if (!ui_.messages.empty()) {
      EXPECT_EQ(ui_.messages[0].icon, Icon::Stop);
    }
    return result;
  }

  TempDir dir_;
  FakeSetupUi ui_;
  const std::string entries_ = testing::entryBytes(testing::entry("a.txt", "hello"));
};

TEST_F(CompletenessTest, TrailerComparesItsFirstThreeBytesOnly) {
  EXPECT_TRUE(complete(entries_ + "RSFX"));
  EXPECT_TRUE(complete(entries_ + "RSF?"));
  EXPECT_FALSE(complete(entries_ + "RSXF"));
  EXPECT_FALSE(complete(entries_ + "RSFX" + "!"));
}

TEST_F(CompletenessTest, EndRecordReachingTheEndOfTheFile) {
  EXPECT_TRUE(complete(entries_ + testing::endRecord("")));
  EXPECT_TRUE(complete(entries_ + testing::endRecord("a comment")));
  // Cut by one byte: the record without comment is no longer whole, the
  // other one's comment now claims more than the file holds.
  std::string withComment = entries_ + testing::endRecord("a comment");
  withComment.pop_back();
  EXPECT_FALSE(complete(withComment));
  std::string plain = entries_ + testing::endRecord("");
  plain.pop_back();
  EXPECT_FALSE(complete(plain));
  // Bytes after a record without comment: it is not the end of the file.
  EXPECT_FALSE(complete(entries_ + testing::endRecord("") + "zz"));
}

TEST_F(CompletenessTest, ArchiveOfTwentyTwoBytesOrLessIsIncomplete) {
  EXPECT_FALSE(complete(std::string(18, 'x') + "RSFX"));
  EXPECT_TRUE(complete(std::string(19, 'x') + "RSFX"));
}

TEST_F(CompletenessTest, TheLongestCommentStillReachesTheEnd) {
  // A comment of 65,535 bytes is the longest an end record can reach over.
  const std::string longest(65535, 'c');
  EXPECT_TRUE(complete(entries_ + testing::endRecord(longest)));
  EXPECT_FALSE(complete(entries_ + testing::endRecord(longest) + "x"));
}

TEST_F(CompletenessTest, MalformedHeadersCountAsIncomplete) {
  HeaderFields noMagic;
  noMagic.magic = "XYZ";
  EXPECT_FALSE(complete(entries_ + "RSFX", noMagic));

  HeaderFields negative;
  negative.welcomeLengthField = -1;
  EXPECT_FALSE(complete(entries_ + "RSFX", negative));

  HeaderFields beyondTheEnd;
  beyondTheEnd.licenceLengthField = 1 << 30;
  EXPECT_FALSE(complete(entries_ + "RSFX", beyondTheEnd));

  EXPECT_FALSE(completeFile(testing::imagePadding().substr(0, 1000)));
}

}  // namespace
}  // namespace setup
