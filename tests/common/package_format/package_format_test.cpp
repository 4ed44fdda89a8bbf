// The package format both sides share: scrambling, little-endian fields, ZIP signatures,
// MS-DOS time stamps and the traditional encryption, written by the generator and read back
// the way the setup reads them.
#include <gtest/gtest.h>

#include <time.h>

#include <cstdint>
#include <string>

#include "common/package_format/dos_time.h"
#include "common/package_format/le_bytes.h"
#include "common/package_format/package_text.h"
#include "common/package_format/zip_crypto.h"
#include "common/package_format/zip_records.h"
#include "tools/mkpackage/dos_time.h"
#include "tools/mkpackage/error.h"
#include "tests/setup/support/time_zone.h"
#include "tools/mkpackage/zip_crypto.h"

namespace common {
namespace {

std::string scrambled(std::string text)
{
    scrambleText(text.data(), text.size());
    return text;
}

TEST(Scrambling, KeyStreamFromTheSeedWithAPlainFirstByte)
{
    // Key bytes worked out by hand from the seed 618: S := S * 134775813 + 1 mod 2^32,
    // key = (S * 128 >> 32) | 0x80; S1 = 0x648E4E13 gives 0xB2, and so on.
    const struct {
        std::string plain;
        std::string stored;
    } cases[] = {
        {"", ""},
        {"K", "K"},
        {"AB", "A\xF0"},
        {std::string(7, '\0'), std::string("\0\xB2\xE2\xF6\xD6\xD8\xC5", 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.size());
        EXPECT_EQ(scrambled(c.plain), c.stored);
    }
    const std::string text = "Lizenz: frei f\xFCr private Nutzung.\r\nZweite Zeile.";
    EXPECT_EQ(scrambled(scrambled(text)), text);
    // A second text does not continue the first one's stream.
    EXPECT_EQ(scrambled(text.substr(0, 10)), scrambled(text).substr(0, 10));
}

TEST(LittleEndian, FieldsRoundTripLowByteFirstAndFormTheRecordSignatures)
{
    unsigned char bytes[6] = {};
    writeLe32(bytes, 0x04034B50u);
    writeLe16(bytes + 4, 0xA1B2);
    const unsigned char expected[6] = {0x50, 0x4B, 0x03, 0x04, 0xB2, 0xA1};
    EXPECT_EQ(std::string(bytes, bytes + 6), std::string(expected, expected + 6));
    EXPECT_EQ(readLe32(bytes), 0x04034B50u);
    EXPECT_EQ(readLe16(bytes + 4), 0xA1B2);
    EXPECT_EQ(readLe32(bytes + 2), 0xA1B20403u);
    // The signatures formed at run time are the records' ones, and those are the bytes of ZIP.
    EXPECT_EQ(localEntrySignatureAtRunTime(), kLocalEntrySignature);
    EXPECT_EQ(endRecordSignatureAtRunTime(), kEndRecordSignature);
    writeLe32(bytes, kLocalEntrySignature);
    writeLe32(bytes + 2, kEndRecordSignature);
    EXPECT_EQ(std::string(bytes, bytes + 6), "PKPK\x05\x06");
    EXPECT_EQ(kLocalEntrySignature, 0x04034B50u);
}

using setup::testing::TimeZone;

// What the setup makes of a stamp: the local moment, written out again.
std::string localOf(DosDateTime stamp)
{
    time_t when = 0;
    EXPECT_TRUE(dosDateTimeToTime(stamp.date, stamp.time, when));
    struct tm parts {};
    localtime_r(&when, &parts);
    char text[32];
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

TEST(DosTime, GeneratorStampsReadBackAsTheSameLocalMoment)
{
    TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");  // with summer time
    const struct {
        DosFields fields;
        uint16_t time;
        uint16_t date;
        const char* read;  // odd seconds are stored as the even one before
    } cases[] = {
        {{2024, 5, 17, 13, 45, 31},
         (13 << 11) | (45 << 5) | 15,
         (44 << 9) | (5 << 5) | 17,
         "2024-05-17 13:45:30"},
        {{2023, 7, 14, 9, 26, 54},
         (9 << 11) | (26 << 5) | 27,
         (43 << 9) | (7 << 5) | 14,
         "2023-07-14 09:26:54"},
        {{1999, 12, 31, 23, 59, 58},
         (23 << 11) | (59 << 5) | 29,
         (19 << 9) | (12 << 5) | 31,
         "1999-12-31 23:59:58"},
        {{2107, 12, 31, 23, 59, 58}, 0xBF7D, 0xFF9F, "2107-12-31 23:59:58"},
        {{1980, 1, 1, 0, 0, 0}, 0, (1 << 5) | 1, "1980-01-01 00:00:00"},
        // Before the DOS epoch: its first moment.
        {{1970, 6, 1, 12, 0, 0}, 0, (1 << 5) | 1, "1980-01-01 00:00:00"},
    };
    for (const auto& c : cases) {
        const DosFields& f = c.fields;
        SCOPED_TRACE(c.read);
        const DosDateTime stamp =
            mkpackage::makeDosDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_EQ(stamp.time, c.time);
        EXPECT_EQ(stamp.date, c.date);
        EXPECT_EQ(localOf(stamp), c.read);
    }
}

TEST(DosTime, FieldsNoStampCanHoldAreRefusedOnBothSides)
{
    EXPECT_THROW(mkpackage::makeDosDateTime(2108, 1, 1, 0, 0, 0), mkpackage::Error);
    EXPECT_THROW(mkpackage::makeDosDateTime(2024, 13, 1, 0, 0, 0), mkpackage::Error);
    EXPECT_THROW(mkpackage::makeDosDateTime(2024, 1, 1, 24, 0, 0), mkpackage::Error);
    const struct {
        uint16_t date;
        uint16_t time;
    } unreal[] = {
        {0x5A01, 0x6000},    // month 0
        {0x5BA1, 0x6000},    // month 13
        {0x5A21, 24 << 11},  // hour 24
        {0x5A21, 60 << 5},   // minute 60
        {0x5A21, 30},        // second 60
        {0x5A20, 0x6000},    // day 0
    };
    for (const auto& u : unreal) {
        SCOPED_TRACE(u.date);
        time_t when = 0;
        EXPECT_FALSE(dosDateTimeToTime(u.date, u.time, when));
    }
}

TEST(DosTime, FileTimesAreTakenAsLocalTime)
{
    const time_t t = 1700000000;  // 2023-11-14 22:13:20 UTC
    const struct {
        const char* zone;
        uint16_t time;
        uint16_t date;
    } cases[] = {
        {"UTC0", (22 << 11) | (13 << 5) | 10, (43 << 9) | (11 << 5) | 14},
        {"CET-1", (23 << 11) | (13 << 5) | 10, (43 << 9) | (11 << 5) | 14},
        {"EET-2", (0 << 11) | (13 << 5) | 10, (43 << 9) | (11 << 5) | 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        TimeZone zone(c.zone);
        const DosDateTime dos = mkpackage::dosDateTimeFromTime(t);
        EXPECT_EQ(dos.time, c.time);
        EXPECT_EQ(dos.date, c.date);
        time_t back = 0;
        ASSERT_TRUE(dosDateTimeToTime(dos.date, dos.time, back));
        EXPECT_EQ(back, t);
    }
}

TEST(ZipCrypto, MatchesAnIndependentlyComputedKeyStream)
{
    // Keys and cipher text worked out with a separate implementation of the traditional
    // cipher for the password "secret".
    ZipKeys keys = zipKeysForPassword("secret", 6);
    EXPECT_EQ(keys.key0, 0xDDA9E469u);
    EXPECT_EQ(keys.key1, 0x96212999u);
    EXPECT_EQ(keys.key2, 0xF9FC9651u);
    const std::string plain = "Hello, KARVELO!";
    std::string data = plain;
    encryptZipBuffer(keys, reinterpret_cast<unsigned char*>(data.data()), data.size());
    EXPECT_EQ(data, std::string("\x80\x75\xF6\x32\x20\x4D\xE8\x94\x35\xA4\xA6\x7C\xF3\x65\x8D", 15));
    ZipKeys again = zipKeysForPassword("secret", 6);
    decryptZipBuffer(again, reinterpret_cast<unsigned char*>(data.data()), data.size());
    EXPECT_EQ(data, plain);
}

TEST(ZipCrypto, GeneratorSealedEntriesOpenOnlyWithTheirPasswordAndCheckByte)
{
    const struct {
        uint16_t flags;
        uint16_t modTime;
        uint32_t crc;
        unsigned char checkByte;
    } cases[] = {
        {kEntryEncrypted, 0xAB12, 0xCD345678u, 0xCD},                       // from the CRC
        {kEntryEncrypted | kCheckByteFromTime, 0xAB12, 0xCD345678u, 0xAB},  // from the time
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        const unsigned char check = encryptionCheckByte(c.flags, c.modTime, c.crc);
        EXPECT_EQ(check, c.checkByte);
        mkpackage::ZipEncryptor writer("p\xE4ss");
        mkpackage::Bytes sealed = writer.header(check, 7);
        mkpackage::Bytes data{'d', 'a', 't', 'a'};
        writer.encrypt(data);
        ASSERT_EQ(sealed.size(), static_cast<size_t>(kEncryptionHeaderSize));

        ZipKeys keys;
        EXPECT_FALSE(passwordOpens("p\xE4ss", 4, sealed.data(), check ^ 1, keys));
        EXPECT_FALSE(passwordOpens("p\xC4ss", 4, sealed.data(), check, keys));
        ASSERT_TRUE(passwordOpens("p\xE4ss", 4, sealed.data(), check, keys));
        decryptZipBuffer(keys, data.data(), data.size());  // the keys go on with the data
        EXPECT_EQ(std::string(data.begin(), data.end()), "data");
    }
}

}  // namespace
}  // namespace common
