// The mkpackage program as the build and the benchmark scripts run it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "tools/mkpackage/dos_time.h"
#include "tools/mkpackage/file_io.h"
#include "tools/mkpackage/package_builder.h"
#include "tests/setup/support/temp_dir.h"
#include "tests/tools/mkpackage/zip_checks.h"

namespace mkpackage {
namespace {

using namespace mkpackage::testing;

class MkpackageCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = dir.write("image", "\x7f"
                                   "ELF tiny");
        readme = dir.write("stage/readme.txt", "Liesmich\n");
        sound = dir.write("stage/sounds/sound1.wav", "RIFF sound");
        out = dir.file("pkg.run");
    }

    CommandResult run(const std::string& arguments)
    {
        return runCommand(shellQuote(MKPACKAGE_PATH) + " " + arguments);
    }

    std::string base() const { return "--image " + shellQuote(image) + " --out " + shellQuote(out); }

    ::setup::testing::TempDir dir;
    std::string image, readme, sound, out;
};

TEST_F(MkpackageCli, WritesHeaderEntriesAndTrailer)
{
    const time_t mtime = 1600000000;
    const utimbuf times{mtime, mtime};
    ASSERT_EQ(utime(sound.c_str(), &times), 0);
    const CommandResult r = run(base() + " --product KARVELO --inf KARV10G1.INF --notice 'Grüße'" +
                                " --keep-open --admin-only --hide-info --advanced-inf" +
                                " sounds/sound1.wav=" + shellQuote(sound) + " " + shellQuote(readme));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, out + "\n");

    const Bytes b = readFile(out);
    const std::size_t h = kImageSize;
    for (std::size_t flag : {3, 6, 16, 18})
        EXPECT_EQ(b[h + flag], 1) << flag;
    EXPECT_EQ(b[h + 17], 0);  // one file
    EXPECT_EQ(b[h + 7], 5);   // "Grüße" in Windows-1252
    EXPECT_EQ(readU32(b, h + 19), b.size());
    EXPECT_EQ(asString(b).substr(b.size() - 4), "RSFX");

    const std::size_t first = h + kFixedHeaderSize + 7 + 12 + 5;
    EXPECT_EQ(readU32(b, first), 0x04034B50u);
    EXPECT_EQ(readU16(b, first + 8), 8u);
    EXPECT_EQ(readU16(b, first + 10), dosDateTimeFromTime(mtime).time);
    EXPECT_EQ(readU16(b, first + 12), dosDateTimeFromTime(mtime).date);
    EXPECT_EQ(asString(b).substr(first + 30, 17), "sounds/sound1.wav");
    // Without "NAME=", the path becomes the name, without its leading "/".
    EXPECT_NE(asString(b).find(readme.substr(1)), std::string::npos);
}

// The password is keyed in Windows-1252: the entry is the one the builder encodes for its bytes.
TEST_F(MkpackageCli, EntryOptionsApplyToEveryFile)
{
    const std::string arguments = base() + " --store --password 'Größe' --descriptors --backslash --seed 7" +
                                  " --time '2001-02-03 04:05:06' a/b.txt=" + shellQuote(readme);
    const CommandResult r = run(arguments);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const Bytes b = readFile(out);
    const std::size_t e = kImageSize + kFixedHeaderSize;
    EXPECT_EQ(readU16(b, e + 6), 0x9u);  // encrypted, check byte from the time
    EXPECT_EQ(readU16(b, e + 8), 0u);
    EXPECT_EQ(readU16(b, e + 10), makeDosDateTime(2001, 2, 3, 4, 5, 6).time);
    EXPECT_EQ(readU32(b, e + 18), 12u + 9u);
    EXPECT_EQ(asString(b).substr(e + 30, 7), "a\\b.txt");
    EXPECT_EQ(readU32(b, e + 30 + 7 + 21), 0x08074B50u);

    EntryPlan entry;
    entry.name = "a\\b.txt";
    entry.data = asBytes("Liesmich\n");
    entry.method = Method::Stored;
    entry.modified = makeDosDateTime(2001, 2, 3, 4, 5, 6);
    entry.password = "Gr\xF6\xDF"
                     "e";
    entry.fillerSeed = 7;
    entry.dataDescriptor = true;
    entry.checkByteFromTime = true;
    const Bytes expected = encodeEntry(entry);
    const auto first = b.begin() + static_cast<std::ptrdiff_t>(e);
    EXPECT_EQ(Bytes(first, first + static_cast<std::ptrdiff_t>(expected.size())), expected);

    // The same seed gives the same bytes.
    ASSERT_EQ(run(arguments).exitCode, 0);
    EXPECT_EQ(readFile(out), b);
}

TEST_F(MkpackageCli, SplitsIntoNumberedVolumes)
{
    const std::string big = dir.write("big.bin", std::string(50000, 'x'));
    const CommandResult r = run(base() + " --store --volume-size 36000 big.bin=" + shellQuote(big));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::string stem = dir.file("pkg.");
    EXPECT_EQ(r.output, out + "\n" + stem + "001\n" + stem + "002\n");
    const Bytes first = readFile(out);
    EXPECT_EQ(first.size(), 36000u);
    EXPECT_EQ(first[kImageSize + 17], 1);
    EXPECT_EQ(readU32(first, kImageSize + 19), 36000u + 36000u + readFile(stem + "002").size());
}

TEST_F(MkpackageCli, AppendsAForeignArchiveWithItsOwnEnd)
{
    static const char kFakeZip[] = "PK\x03\x04 fake zip PK\x05\x06";
    const std::string zip = dir.write("x.zip", std::string(kFakeZip, sizeof kFakeZip - 1));
    const CommandResult r = run(base() + " --no-trailer --append-archive " + shellQuote(zip));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const Bytes b = readFile(out);
    EXPECT_EQ(asString(b).substr(kImageSize + kFixedHeaderSize), asString(readFile(zip)));

    ASSERT_EQ(run(base() + " --end-record=note").exitCode, 0);
    EXPECT_EQ(asString(readFile(out)).substr(kImageSize + kFixedHeaderSize),
              std::string("PK\x05\x06", 4) + std::string(16, '\0') + std::string("\x04\0note", 6));
}

TEST_F(MkpackageCli, FailsClearlyWithoutWritingAPackage)
{
    const std::string huge = dir.write("huge", std::string(kImageSize + 1, 'i'));
    const std::string marked = dir.write("marked", std::string("xxPK\x05\x06yy", 8));
    struct Case {
        std::string arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"--image " + shellQuote(huge) + " --out " + shellQuote(out), "35328"},
        {"--image " + shellQuote(marked) + " --out " + shellQuote(out), "50 4B 05 06"},
        {"--out " + shellQuote(out), "--image is required"},
        {base() + " --frobnicate", "unknown option --frobnicate"},
        {base() + " " + shellQuote(dir.file("missing.txt")), "missing.txt"},
        {base() + " --volume-size 0", "--volume-size"},
        {base() + " --volume-size 1000 " + shellQuote(readme), "smaller than the program image"},
        {base() + " --notice '漢字'", "Windows-1252"},
        {base() + " --keep-open=1", "takes no value"},
    };
    for (const Case& c : cases) {
        const CommandResult r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 1) << c.arguments;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.arguments << "\n" << r.output;
        struct stat st {};
        EXPECT_NE(stat(out.c_str(), &st), 0) << "package written for " << c.arguments;
    }
}

}  // namespace
}  // namespace mkpackage
