// Packages from the generator read back by the setup's header reader and completeness
// check: the two sides of the format agree.

#include "ansi_text.h"
#include "package_fixture.h"
#include "setup/package/completeness.h"

namespace setup::testing {
namespace {

using mkpackage::Bytes;

constexpr const char* kIncomplete =
    "Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden. / Fehler";

class HeaderRoundTrip : public PackageFixture {};

TEST_F(HeaderRoundTrip, EveryCombinationOfFlagsComesBack) {
  for (unsigned bits = 0; bits < 32; ++bits) {
    mkpackage::PackagePlan plan = packagePlan();
    plan.header.keepWindowOpen = bits & 1;
    plan.header.adminOnly = bits & 2;
    plan.header.hideInfoButton = bits & 4;
    plan.header.multiVolume = bits & 8;
    plan.header.advancedInf = bits & 16;
    const mkpackage::BuiltPackage built = mkpackage::buildPackage(plan);
    open(plan);
    ASSERT_FALSE(HasFatalFailure());
    const PackageHeader& h = settings.header;
    EXPECT_EQ(h.keepWindowOpen != 0, plan.header.keepWindowOpen) << bits;
    EXPECT_EQ(h.adminOnly != 0, plan.header.adminOnly) << bits;
    EXPECT_EQ(h.hideInfoButton != 0, plan.header.hideInfoButton) << bits;
    EXPECT_EQ(h.multiVolume != 0, plan.header.multiVolume) << bits;
    EXPECT_EQ(h.advancedInf != 0, plan.header.advancedInf) << bits;
    EXPECT_EQ(h.totalSize, built.bytes.size());
    EXPECT_EQ(settings.archiveStart, built.archiveStart);
    startOver();
  }
}

TEST_F(HeaderRoundTrip, TextsComeBackUnscrambledInUtf8) {
  mkpackage::PackagePlan plan = packagePlan();
  plan.header.productName = mkpackage::toWindows1252("KARVELO Spiele");
  plan.header.notice = mkpackage::toWindows1252("© 2026 Müller & Söhne – alle Rechte");
  plan.header.welcomeText = mkpackage::toWindows1252("\r\r\rWillkommen! Preis: 5 €");
  const std::string licence = compressibleText(20000) + "Ende der Lizenz: ÄÖÜäöüß";
  plan.header.licenceText = mkpackage::toWindows1252(licence);
  open(plan);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_STREQ(settings.productName, "KARVELO Spiele");
  EXPECT_STREQ(settings.infName, "KARV10G1.INF");
  EXPECT_STREQ(settings.notice, "© 2026 Müller & Söhne – alle Rechte");
  EXPECT_STREQ(settings.welcomeText, "\r\r\rWillkommen! Preis: 5 €");
  EXPECT_EQ(std::string(settings.licenceText), licence);
  // Lengths and the archive start count the stored Windows-1252 bytes, not UTF-8.
  EXPECT_EQ(settings.header.noticeLength, plan.header.notice.size());
  EXPECT_EQ(settings.archiveStart, mkpackage::buildPackage(plan).archiveStart);
}

class Completeness : public PackageFixture {
 protected:
  bool complete(const Bytes& bytes) {
    openBytes(bytes);
    return !HasFatalFailure() && checkPackageComplete(fd, settings, ui);
  }
};

// The package must end in its trailer or in a ZIP end record that reaches the end of the file.
TEST_F(Completeness, OnlyATrailerOrEndRecordAtTheVeryEndPasses) {
  struct Case {
    Bytes tail;
    std::size_t cut;  // bytes taken off the end
    bool complete;
  };
  const Case cases[] = {
      {{'R', 'S', 'F', 'X'}, 0, true},
      {{'R', 'S', 'F', 0}, 0, true},
      {mkpackage::zipEndRecord(""), 0, true},
      {mkpackage::zipEndRecord("a comment"), 0, true},
      {mkpackage::zipEndRecord("note"), 1, false},
      {{}, 0, false},
      // Truncated inside its trailer: "RSF" is lost, and there is no end record either.
      {{'R', 'S', 'F', 'X'}, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tail.begin(), c.tail.end()) + " less " + std::to_string(c.cut));
    startOver();
    mkpackage::PackagePlan plan = packagePlan({deflatedEntry("readme.txt", compressibleText(4000))});
    plan.tail = c.tail;
    Bytes bytes = mkpackage::buildPackage(plan).bytes;
    bytes.resize(bytes.size() - c.cut);
    EXPECT_EQ(complete(bytes), c.complete);
    EXPECT_EQ(ui.shown(), c.complete ? std::vector<std::string>{} : std::vector<std::string>{kIncomplete});
  }
}

}  // namespace
}  // namespace setup::testing
