// Local entries judged by Info-ZIP's unzip (given a central directory built from their own
// headers) and by zlib, so that the generator cannot agree with itself by mistake.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>

#include "common/package_format/zip_crypto.h"
#include "tools/mkpackage/package_builder.h"
#include "tests/setup/support/temp_dir.h"
#include "tests/tools/mkpackage/zip_checks.h"

namespace mkpackage {
namespace {

using namespace mkpackage::testing;

Bytes compressible(std::size_t n)
{
    Bytes data;
    for (std::size_t i = 0; data.size() < n; ++i) {
        const std::string line = "line " + std::to_string(i % 97) + " of a readme text\n";
        data.insert(data.end(), line.begin(), line.end());
    }
    data.resize(n);
    return data;
}

EntryPlan entry(const std::string& name, Bytes data, Method method)
{
    EntryPlan e;
    e.name = name;
    e.data = std::move(data);
    e.method = method;
    e.modified = makeDosDateTime(2023, 7, 14, 9, 26, 54);
    return e;
}

struct Archive {
    BuiltPackage built;
    std::size_t count;
};

Archive build(std::vector<EntryPlan> entries)
{
    PackagePlan plan;
    plan.header.infName = "KARV10G1.INF";
    plan.entries = std::move(entries);
    const std::size_t count = plan.entries.size();
    return {buildPackage(plan), count};
}

std::string writeZip(const ::setup::testing::TempDir& dir, const Archive& archive)
{
    const Bytes zip = standaloneZip(archive.built, archive.count, archive.built.bytes.size() - 4);
    return dir.write("entries.zip", asString(zip));
}

class EntryEncoding : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (runCommand("command -v unzip").exitCode != 0)
            GTEST_SKIP() << "unzip is not installed";
    }
    ::setup::testing::TempDir dir;
};

TEST_F(EntryEncoding, StoredDeflatedEmptyAndNestedEntriesPassUnzipTest)
{
    const Archive archive = build({
        entry("readme.txt", compressible(50000), Method::Deflate),
        entry("sounds/sound1.wav", asBytes("RIFF....WAVE"), Method::Stored),
        entry("empty.dat", {}, Method::Stored),
        entry("empty-deflated.dat", {}, Method::Deflate),
    });
    const std::string zip = writeZip(dir, archive);
    const CommandResult test = runCommand("unzip -t " + shellQuote(zip));
    EXPECT_EQ(test.exitCode, 0) << test.output;
    EXPECT_NE(test.output.find("No errors detected"), std::string::npos) << test.output;

    const CommandResult content = runCommand("unzip -p " + shellQuote(zip) + " readme.txt");
    EXPECT_EQ(content.output, asString(compressible(50000)));
    // The Deflate entry really is compressed.
    EXPECT_LT(archive.built.entryOffsets[1] - archive.built.entryOffsets[0], 10000u);
}

TEST_F(EntryEncoding, EncryptedEntriesOpenWithThePasswordOnly)
{
    EntryPlan byCrc = entry("a.txt", compressible(3000), Method::Deflate);
    byCrc.password = "secret";
    EntryPlan byTime = entry("b.bin", asBytes("stored and sealed"), Method::Stored);
    byTime.password = "secret";
    byTime.checkByteFromTime = true;
    byTime.dataDescriptor = true;
    const std::string zip = writeZip(dir, build({byCrc, byTime}));

    const CommandResult right = runCommand("unzip -t -P secret " + shellQuote(zip));
    EXPECT_EQ(right.exitCode, 0) << right.output;
    EXPECT_EQ(runCommand("unzip -p -P secret " + shellQuote(zip) + " b.bin").output, "stored and sealed");
    const CommandResult wrong = runCommand("unzip -t -P public " + shellQuote(zip));
    EXPECT_NE(wrong.exitCode, 0) << wrong.output;
}

TEST_F(EntryEncoding, EncryptionHeaderEndsInTheCheckByte)
{
    // The setup's reader (its cipher checked against an independent key stream) must find the
    // entry's own check byte at the end of the header; unzip only confirms that one of its
    // candidate bytes matches.
    EntryPlan e = entry("a", asBytes("payload"), Method::Stored);
    e.password = "pw";
    e.checkByteFromTime = true;
    const Archive archive = build({e});
    const Bytes& b = archive.built.bytes;
    const std::size_t at = archive.built.entryOffsets[0];
    const unsigned char check = static_cast<unsigned char>(e.modified.time >> 8);
    common::ZipKeys keys;
    EXPECT_FALSE(common::passwordOpens("pw", 2, b.data() + at + 31, check ^ 1, keys));
    ASSERT_TRUE(common::passwordOpens("pw", 2, b.data() + at + 31, check, keys));
    Bytes plain(b.begin() + static_cast<std::ptrdiff_t>(at + 31 + 12),
                b.begin() + static_cast<std::ptrdiff_t>(at + 31 + 19));
    common::decryptZipBuffer(keys, plain.data(), plain.size());
    EXPECT_EQ(asString(plain), "payload");
    EXPECT_EQ(readU16(b, at + 6) & 0x9, 0x9);
    EXPECT_EQ(readU32(b, at + 18), 12u + 7u);
}

TEST_F(EntryEncoding, DataDescriptorFollowsTheDataWithCrcAndSizes)
{
    EntryPlan e = entry("d.txt", compressible(1000), Method::Deflate);
    e.dataDescriptor = true;
    const Archive archive = build({e, entry("next", asBytes("x"), Method::Stored)});
    const Bytes& b = archive.built.bytes;
    const std::size_t at = archive.built.entryOffsets[0];
    const std::uint32_t compressed = readU32(b, at + 18);
    const std::size_t descriptor = at + 30 + 5 + compressed;
    EXPECT_EQ(readU32(b, descriptor), 0x08074B50u);
    EXPECT_EQ(readU32(b, descriptor + 4), readU32(b, at + 14));
    EXPECT_EQ(readU32(b, descriptor + 8), compressed);
    EXPECT_EQ(readU32(b, descriptor + 12), 1000u);
    EXPECT_EQ(archive.built.entryOffsets[1], descriptor + 16);
    const CommandResult test = runCommand("unzip -t " + shellQuote(writeZip(dir, archive)));
    EXPECT_EQ(test.exitCode, 0) << test.output;
}

TEST_F(EntryEncoding, EntryTimeIsLocalTimeForUnzip)
{
    const std::string zip = writeZip(dir, build({entry("t.txt", asBytes("t"), Method::Stored)}));
    const CommandResult unpack =
        runCommand("unzip -q -o " + shellQuote(zip) + " -d " + shellQuote(dir.path()));
    ASSERT_EQ(unpack.exitCode, 0) << unpack.output;
    struct stat st {};
    ASSERT_EQ(stat(dir.file("t.txt").c_str(), &st), 0);
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_STREQ(text, "2023-07-14 09:26:54");
}

TEST_F(EntryEncoding, NamesAreWrittenByteForByte)
{
    const std::string odd("..\\x/\0y", 7);
    const Archive archive = build({entry(odd, asBytes("z"), Method::Stored), entry("", {}, Method::Stored)});
    const Bytes& b = archive.built.bytes;
    EXPECT_EQ(readU16(b, archive.built.entryOffsets[0] + 26), 7u);
    EXPECT_EQ(std::string(b.begin() + static_cast<std::ptrdiff_t>(archive.built.entryOffsets[0] + 30),
                          b.begin() + static_cast<std::ptrdiff_t>(archive.built.entryOffsets[0] + 37)),
              odd);
    EXPECT_EQ(readU16(b, archive.built.entryOffsets[1] + 26), 0u);
}

TEST_F(EntryEncoding, DamageOptionsBreakExactlyWhatTheySay)
{
    EntryPlan badCrc = entry("crc", compressible(500), Method::Deflate);
    badCrc.damage.wrongCrc = true;
    CommandResult test = runCommand("unzip -t " + shellQuote(writeZip(dir, build({badCrc}))));
    EXPECT_NE(test.exitCode, 0);
    EXPECT_NE(test.output.find("bad CRC"), std::string::npos) << test.output;

    EntryPlan method12 = entry("m", asBytes("data"), Method::Stored);
    method12.damage.methodField = 12;
    const Archive m = build({method12});
    EXPECT_EQ(readU16(m.built.bytes, m.built.entryOffsets[0] + 8), 12u);

    EntryPlan sized = entry("s", asBytes("data"), Method::Stored);
    sized.damage.compressedSizeField = 0x7FFFFFFF;
    sized.damage.extraLengthField = 9;
    sized.damage.signature = 0x50000000;
    const Archive s = build({sized});
    EXPECT_EQ(readU32(s.built.bytes, s.built.entryOffsets[0]), 0x50000000u);
    EXPECT_EQ(readU32(s.built.bytes, s.built.entryOffsets[0] + 18), 0x7FFFFFFFu);
    EXPECT_EQ(readU16(s.built.bytes, s.built.entryOffsets[0] + 28), 9u);
}

TEST_F(EntryEncoding, DeflateDamageIsSeenByZlib)
{
    const Bytes data = compressible(20000);
    auto streamOf = [&](DeflateDamage damage) {
        EntryPlan e = entry("x", data, Method::Deflate);
        e.damage.deflate = damage;
        const Archive a = build({e});
        const std::size_t start = a.built.entryOffsets[0] + 31;
        const std::uint32_t size = readU32(a.built.bytes, a.built.entryOffsets[0] + 18);
        return Bytes(a.built.bytes.begin() + static_cast<std::ptrdiff_t>(start),
                     a.built.bytes.begin() + static_cast<std::ptrdiff_t>(start + size));
    };
    const Inflated intact = inflateRaw(streamOf(DeflateDamage::None));
    EXPECT_EQ(intact.outcome, InflateOutcome::Complete);
    EXPECT_EQ(intact.data, data);
    EXPECT_EQ(inflateRaw(streamOf(DeflateDamage::InvalidBlockType)).outcome, InflateOutcome::Rejected);
    EXPECT_EQ(inflateRaw(streamOf(DeflateDamage::Truncated)).outcome, InflateOutcome::Incomplete);
    const Inflated flipped = inflateRaw(streamOf(DeflateDamage::FlippedByte));
    EXPECT_TRUE(flipped.outcome != InflateOutcome::Complete || flipped.data != data);
}

}  // namespace
}  // namespace mkpackage
