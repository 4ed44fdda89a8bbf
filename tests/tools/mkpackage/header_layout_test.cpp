// The bytes of the image slot, the header and the tail, as a setup program reads them.

#include <gtest/gtest.h>

#include "common/package_format/package_text.h"
#include "tools/mkpackage/error.h"
#include "tools/mkpackage/package_builder.h"
#include "tests/tools/mkpackage/zip_checks.h"

namespace mkpackage {
namespace {

using testing::asBytes;
using testing::asString;

constexpr std::size_t kHeader = kImageSize;

PackagePlan smallPlan()
{
    PackagePlan plan;
    plan.image = asBytes("\x7f"
                         "ELF fake image");
    plan.header.productName = "KARVELO";
    plan.header.infName = "KARV10G1.INF";
    plan.header.notice = "Copyright (c) 2026 KARVELO.";
    return plan;
}

std::string slice(const Bytes& bytes, std::size_t at, std::size_t n)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
}

TEST(HeaderLayout, FixedFieldsSitAtTheirOffsetsLittleEndian)
{
    PackagePlan plan = smallPlan();
    plan.header.keepWindowOpen = true;
    plan.header.adminOnly = true;
    plan.header.hideInfoButton = true;
    plan.header.multiVolume = true;
    plan.header.advancedInf = true;
    plan.header.welcomeText = std::string(300, 'w');    // needs the second length byte
    plan.header.licenceText = std::string(70000, 'l');  // and the third
    const Bytes& b = buildPackage(plan).bytes;

    EXPECT_EQ(slice(b, kHeader, 3), "MRI");
    EXPECT_EQ(b[kHeader + 3], 1);   // keepWindowOpen
    EXPECT_EQ(b[kHeader + 4], 7);   // productNameLength
    EXPECT_EQ(b[kHeader + 5], 12);  // infNameLength
    EXPECT_EQ(b[kHeader + 6], 1);   // adminOnly
    EXPECT_EQ(b[kHeader + 7], 27);  // noticeLength
    EXPECT_EQ(slice(b, kHeader + 8, 4), std::string("\x2c\x01\x00\x00", 4));
    EXPECT_EQ(slice(b, kHeader + 12, 4), std::string("\x70\x11\x01\x00", 4));
    EXPECT_EQ(b[kHeader + 16], 1);  // hideInfoButton
    EXPECT_EQ(b[kHeader + 17], 1);  // multiVolume
    EXPECT_EQ(b[kHeader + 18], 1);  // advancedInf
    EXPECT_EQ(readU32(b, kHeader + 19), b.size());
}

TEST(HeaderLayout, ClearedFlagsAreZeroAndAbsentTextsHaveLengthZero)
{
    PackagePlan plan = smallPlan();
    plan.header.productName.clear();
    const BuiltPackage built = buildPackage(plan);
    const Bytes& b = built.bytes;
    for (std::size_t at : {3, 4, 6, 16, 17, 18})
        EXPECT_EQ(b[kHeader + at], 0) << "offset " << at;
    EXPECT_EQ(readU32(b, kHeader + 8), 0u);
    EXPECT_EQ(readU32(b, kHeader + 12), 0u);
    EXPECT_EQ(built.archiveStart, kHeader + kFixedHeaderSize + 12 + 27);
    EXPECT_EQ(slice(b, kHeader + kFixedHeaderSize, 12), "KARV10G1.INF");
}

TEST(HeaderLayout, ShippedShapePutsTheArchiveAt0x8A46)
{
    PackagePlan plan = smallPlan();
    plan.header.notice = std::string(28, 'n');
    plan.entries.push_back({.name = "kv5", .data = asBytes("game")});
    const BuiltPackage built = buildPackage(plan);
    EXPECT_EQ(built.archiveStart, 0x8A46u);
    EXPECT_EQ(built.entryOffsets.at(0), 0x8A46u);
    EXPECT_EQ(slice(built.bytes, 0x8A46, 4), "PK\x03\x04");
    // A scan of the whole file meets the first entry before any other signature.
    const std::string all = asString(built.bytes);
    EXPECT_EQ(all.find("PK\x03\x04"), 0x8A46u);
    EXPECT_EQ(all.find("PK\x05\x06"), std::string::npos);
}

TEST(HeaderLayout, VariablePartKeepsOrderNamesPlainTextsScrambled)
{
    PackagePlan plan = smallPlan();
    plan.header.welcomeText = "Willkommen";
    plan.header.licenceText = "Lizenz";
    const BuiltPackage built = buildPackage(plan);
    std::size_t at = kHeader + kFixedHeaderSize;
    EXPECT_EQ(slice(built.bytes, at, 7), "KARVELO");
    at += 7 + 12;
    for (const std::string& text : {plan.header.notice, plan.header.welcomeText, plan.header.licenceText}) {
        const std::string stored = slice(built.bytes, at, text.size());
        EXPECT_EQ(stored[0], text[0]) << text;
        EXPECT_NE(stored, text);
        std::string plain = stored;
        common::scrambleText(plain.data(), plain.size());
        EXPECT_EQ(plain, text);
        at += text.size();
    }
    EXPECT_EQ(at, built.archiveStart);
}

TEST(Scrambling, EveryTextStartsAFreshStream)
{
    PackagePlan plan = smallPlan();
    plan.header.notice = "same text";
    plan.header.welcomeText = "same text";
    plan.header.licenceText = "same text";
    const BuiltPackage built = buildPackage(plan);
    const std::size_t first = built.archiveStart - 27;
    EXPECT_EQ(slice(built.bytes, first, 9), slice(built.bytes, first + 9, 9));
    EXPECT_EQ(slice(built.bytes, first, 9), slice(built.bytes, first + 18, 9));
}

TEST(ImageSlot, IsPaddedWithZerosToTheFixedSize)
{
    PackagePlan plan = smallPlan();
    const BuiltPackage built = buildPackage(plan);
    EXPECT_EQ(slice(built.bytes, 0, plan.image.size()), asString(plan.image));
    EXPECT_EQ(slice(built.bytes, plan.image.size(), kImageSize - plan.image.size()),
              std::string(kImageSize - plan.image.size(), '\0'));

    plan.image.assign(kImageSize, 0xCC);
    EXPECT_EQ(slice(buildPackage(plan).bytes, kImageSize, 3), "MRI");
}

TEST(ImageSlot, RefusesOversizedImagesAndZipSignatures)
{
    PackagePlan plan = smallPlan();
    plan.image.assign(kImageSize + 1, 0);
    EXPECT_THROW(buildPackage(plan), Error);

    for (const std::string& signature : {std::string("PK\x03\x04"), std::string("PK\x05\x06")}) {
        plan.image = asBytes("code " + signature + " more code");
        EXPECT_THROW(buildPackage(plan), Error) << signature;
    }
    // Near misses are fine, including a signature cut short by the end of the image.
    plan.image = asBytes(std::string("PK\x03\x05 PK\x07\x08 PK\x05", 14));
    EXPECT_NO_THROW(buildPackage(plan));
}

TEST(Tail, DefaultTrailerNoneEndRecordOrAnyBytes)
{
    PackagePlan plan = smallPlan();
    plan.entries.push_back({.name = "a", .data = asBytes("a")});
    Bytes b = buildPackage(plan).bytes;
    EXPECT_EQ(slice(b, b.size() - 4, 4), "RSFX");

    plan.tail.clear();
    b = buildPackage(plan).bytes;
    EXPECT_EQ(readU32(b, kHeader + 19), b.size());
    EXPECT_NE(slice(b, b.size() - 4, 3), "RSF");

    plan.tail = zipEndRecord("hi");
    b = buildPackage(plan).bytes;
    EXPECT_EQ(slice(b, b.size() - 24, 4), "PK\x05\x06");
    EXPECT_EQ(readU16(b, b.size() - 4), 2u);  // comment length
    EXPECT_EQ(slice(b, b.size() - 2, 2), "hi");

    plan.tail = asBytes("RSF!");
    b = buildPackage(plan).bytes;
    EXPECT_EQ(slice(b, b.size() - 4, 4), "RSF!");
}

TEST(HeaderLayout, RefusesTextsTheirLengthFieldsCannotHold)
{
    for (auto field : {&HeaderSettings::productName, &HeaderSettings::infName, &HeaderSettings::notice}) {
        PackagePlan plan = smallPlan();
        plan.header.*field = std::string(256, 'x');
        EXPECT_THROW(buildPackage(plan), Error);
        plan.header.*field = std::string(255, 'x');
        EXPECT_NO_THROW(buildPackage(plan));
    }
}

TEST(HeaderLayout, RawArchiveFollowsTheEntriesUnchanged)
{
    PackagePlan plan = smallPlan();
    plan.entries.push_back({.name = "a", .data = asBytes("a")});
    plan.rawArchive = asBytes("RAW-ZIP-BYTES");
    plan.tail.clear();
    const BuiltPackage built = buildPackage(plan);
    EXPECT_EQ(slice(built.bytes, built.bytes.size() - 13, 13), "RAW-ZIP-BYTES");
    EXPECT_EQ(readU32(built.bytes, kHeader + 19), built.bytes.size());
}

}  // namespace
}  // namespace mkpackage
