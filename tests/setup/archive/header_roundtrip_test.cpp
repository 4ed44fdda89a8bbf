// Packages from the generator read back by the setup's header reader and completeness
// check: the two sides of the format agree, and damaged headers or endings are refused.

#include "tools/mkpackage/ansi_text.h"
#include "common/package_format/package_header_layout.h"
#include "tests/setup/archive/package_fixture.h"
#include "setup/package/completeness.h"
#include "setup/platform/files.h"

namespace setup::testing {
namespace {

using mkpackage::Bytes;

constexpr const char* kIncomplete =
    "Dateigröße inkorrekt - bitte versuchen Sie, dieses Programm nochmals downzuloaden. / Fehler";

// Overwrites a 32-bit header field, to store a length that cannot be true.
void putHeaderField(Bytes& bytes, int field, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[mkpackage::kImageSize + field + i] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

class HeaderRoundTrip : public PackageFixture {
protected:
    // Both halves of the header of `bytes`, read as the setup reads them, failures included;
    // then the completeness check, whose message comes exactly when it fails.
    bool read(const Bytes& bytes)
    {
        startOver();
        dir.write("KARVELO-setup.run", std::string(bytes.begin(), bytes.end()));
        fd = openExistingForReading(packagePath.c_str());
        EXPECT_GE(fd, 0);
        const bool fixed = readFixedHeader(fd, settings);
        return readVariableHeader(fd, settings) && fixed;
    }
    bool complete(const Bytes& bytes)
    {
        read(bytes);
        const bool result = checkPackageComplete(fd, settings, ui);
        EXPECT_EQ(ui.shown(), result ? std::vector<std::string>{} : std::vector<std::string>{kIncomplete});
        for (const ShownMessage& message : ui.messages)
            EXPECT_EQ(message.icon, Icon::Stop);
        return result;
    }
};

TEST_F(HeaderRoundTrip, EveryCombinationOfFlagsComesBack)
{
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

TEST_F(HeaderRoundTrip, TextsComeBackUnscrambledInUtf8)
{
    mkpackage::PackagePlan plan = packagePlan();
    plan.header.productName = mkpackage::toWindows1252("KÄRVELO Spiele");
    plan.header.notice = mkpackage::toWindows1252("© 2026 Müller & Söhne – alle Rechte");
    plan.header.welcomeText = mkpackage::toWindows1252("\r\r\rWillkommen! Preis: 5 €");
    const std::string licence = compressibleText(20000) + "Ende der Lizenz: ÄÖÜäöüß";
    plan.header.licenceText = mkpackage::toWindows1252(licence);
    open(plan);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_STREQ(settings.productName, "KÄRVELO Spiele");
    EXPECT_STREQ(settings.infName, "KARV10G1.INF");
    EXPECT_STREQ(settings.notice, "© 2026 Müller & Söhne – alle Rechte");
    EXPECT_STREQ(settings.welcomeText, "\r\r\rWillkommen! Preis: 5 €");
    EXPECT_EQ(std::string(settings.licenceText), licence);
    // Lengths and the archive start count the stored Windows-1252 bytes, not UTF-8.
    EXPECT_EQ(settings.header.productNameLength, 14);
    EXPECT_EQ(settings.header.infNameLength, 12);
    EXPECT_EQ(settings.header.noticeLength, 35);
    EXPECT_EQ(settings.header.welcomeTextLength, 25);
    EXPECT_EQ(settings.header.licenceTextLength, 20024);
    EXPECT_EQ(settings.archiveStart, 35351 + 14 + 12 + 35 + 25 + 20024);
}

// Without a product name or welcome text: the INF name still follows, and the welcome is the
// setup's own; the shipped lengths put the archive at 35398.
TEST_F(HeaderRoundTrip, ShippedLayoutWithoutTextsStartsTheArchiveAt35398)
{
    mkpackage::PackagePlan plan = packagePlan();
    plan.header.notice = std::string(28, 'n');
    open(plan);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(settings.archiveStart, 35398);
    EXPECT_STREQ(settings.welcomeText,
                 "\r\r\rBitte klicken Sie \"Installieren\", um die Installation zu starten.");
    EXPECT_STREQ(settings.licenceText, "");
    startOver();
    plan.header.productName.clear();
    open(plan);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(settings.header.productNameLength, 0);
    EXPECT_STREQ(settings.productName, "");
    EXPECT_STREQ(settings.infName, "KARV10G1.INF");
}

// A header that cannot be true is not read, and the package counts as incomplete.
TEST_F(HeaderRoundTrip, DamagedHeadersAreRefused)
{
    mkpackage::PackagePlan plan = packagePlan();
    plan.header.licenceText = "abcdef";
    const Bytes shipped = mkpackage::buildPackage(plan).bytes;
    const std::size_t textsEnd = mkpackage::buildPackage(plan).archiveStart;
    struct Case {
        const char* what;
        Bytes bytes;
        bool hasMagic;
    };
    std::vector<Case> cases = {
        {"broken magic", shipped, false},
        {"ending inside the fixed part", Bytes(shipped.begin(), shipped.begin() + mkpackage::kImageSize + 5),
         false},
        {"shorter than the image", Bytes(shipped.begin(), shipped.begin() + 1000), false},
        {"negative licence length", shipped, true},
        {"welcome text of 2 GB", shipped, true},
        {"licence length beyond the file", shipped, true},
        {"one byte short of the texts", Bytes(shipped.begin(), shipped.begin() + textsEnd - 1), true},
    };
    cases[0].bytes[mkpackage::kImageSize + 2] = 'X';
    putHeaderField(cases[3].bytes, common::kLicenceTextLengthAt, -5);
    putHeaderField(cases[4].bytes, common::kWelcomeTextLengthAt, 0x7FFFFFF0);
    putHeaderField(cases[5].bytes, common::kLicenceTextLengthAt, 1 << 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(read(c.bytes));
        EXPECT_EQ(settings.hasMagic, c.hasMagic);
        EXPECT_FALSE(settings.variablePartRead);
        EXPECT_EQ(settings.welcomeText, nullptr);
        if (!c.hasMagic) {
            EXPECT_EQ(settings.header.adminOnly, 0);
            EXPECT_EQ(settings.notice, nullptr);
        }
        EXPECT_FALSE(complete(c.bytes));
    }
    // Exactly the stated texts and nothing behind them is still readable.
    EXPECT_TRUE(read(Bytes(shipped.begin(), shipped.begin() + textsEnd)));
    EXPECT_STREQ(settings.licenceText, "abcdef");
}

// The package must end in its trailer, of which only "RSF" counts, or in a ZIP end record
// that reaches exactly the end of the file; an archive part of 22 bytes or less never does.
TEST_F(HeaderRoundTrip, OnlyATrailerOrEndRecordAtTheVeryEndIsComplete)
{
    const std::string longest(65535, 'c');  // the longest comment an end record reaches over
    const auto record = [](const std::string& comment) { return mkpackage::zipEndRecord(comment); };
    const auto plus = [](Bytes bytes, const std::string& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return bytes;
    };
    struct Case {
        Bytes tail;
        std::size_t cut;  // bytes taken off the end
        bool complete;
        bool entries = true;  // none: 18 or 19 bytes stand in for the archive
        std::size_t filler = 0;
    };
    const Case cases[] = {
        {{'R', 'S', 'F', 'X'}, 0, true},
        {{'R', 'S', 'F', 0}, 0, true},
        {{'R', 'S', 'X', 'F'}, 0, false},
        {{'R', 'S', 'F', 'X', '!'}, 0, false},
        {record(""), 0, true},
        {record("a comment"), 0, true},
        {record(longest), 0, true},
        {plus(record(longest), "x"), 0, false},
        {plus(record(""), "zz"), 0, false},
        {record(""), 1, false},
        {record("a comment"), 1, false},
        {{}, 0, false},
        // Truncated inside its trailer: "RSF" is lost, and there is no end record either.
        {{'R', 'S', 'F', 'X'}, 2, false},
        {{'R', 'S', 'F', 'X'}, 0, false, false, 18},
        {{'R', 'S', 'F', 'X'}, 0, true, false, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tail.begin(), c.tail.begin() + std::min<std::size_t>(c.tail.size(), 12)) +
                     " less " + std::to_string(c.cut) + " filler " + std::to_string(c.filler));
        mkpackage::PackagePlan plan = packagePlan();
        if (c.entries)
            plan.entries = {deflatedEntry("readme.txt", compressibleText(4000))};
        plan.rawArchive = Bytes(c.filler, 'x');
        plan.tail = c.tail;
        Bytes bytes = mkpackage::buildPackage(plan).bytes;
        bytes.resize(bytes.size() - c.cut);
        EXPECT_EQ(complete(bytes), c.complete);
    }
}

}  // namespace
}  // namespace setup::testing
