#include <gtest/gtest.h>

#include <string>

#include "setup/archive/dos_time.h"
#include "setup/archive/entry_header.h"
#include "setup/archive/zip_crypto.h"
#include "setup/support/package_bytes.h"

namespace setup {
namespace {

TEST(ZipCrypto, MatchesAnIndependentlyComputedKeyStream) {
  // Keys and cipher text worked out with a separate implementation of the
  // traditional cipher for the password "secret".
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

TEST(ZipCrypto, CheckByteComesFromTheTimeOnlyWithFlagBit3) {
  EXPECT_EQ(encryptionCheckByte(0x0001, 0xAB12, 0xCD345678u), 0xCD);
  EXPECT_EQ(encryptionCheckByte(0x0009, 0xAB12, 0xCD345678u), 0xAB);
}

TEST(ZipCrypto, PasswordOpensOnlyWithTheRightCheckByte) {
  unsigned char header[kEncryptionHeaderSize] = {'r', 'a', 'n', 'd', 'o', 'm', 'b', 'y', 't', 'e', 's', 0x5C};
  ZipKeys writer = zipKeysForPassword("pw", 2);
  encryptZipBuffer(writer, header, sizeof header);
  ZipKeys keys;
  EXPECT_TRUE(passwordOpens("pw", 2, header, 0x5C, keys));
  EXPECT_EQ(keys.key0, writer.key0);  // ready to continue with the data
  EXPECT_EQ(keys.key2, writer.key2);
  EXPECT_FALSE(passwordOpens("pw", 2, header, 0x5D, keys));
  EXPECT_FALSE(passwordOpens("pW", 2, header, 0x5C, keys));
}

TEST(DosTime, IsTakenAsLocalTime) {
  time_t when;
  ASSERT_TRUE(dosDateTimeToTime(0x5A21, 0x6000 | (30 << 5) | 7, when));  // 2025-01-01 12:30:14
  struct tm parts;
  localtime_r(&when, &parts);
  EXPECT_EQ(parts.tm_year, 125);
  EXPECT_EQ(parts.tm_mon, 0);
  EXPECT_EQ(parts.tm_mday, 1);
  EXPECT_EQ(parts.tm_hour, 12);
  EXPECT_EQ(parts.tm_min, 30);
  EXPECT_EQ(parts.tm_sec, 14);
  EXPECT_FALSE(dosDateTimeToTime(0x5A01, 0x6000, when));  // month 0
  EXPECT_FALSE(dosDateTimeToTime(0x5A21, 24 << 11, when));  // hour 24
  EXPECT_FALSE(dosDateTimeToTime(0x5A20, 0x6000, when));  // day 0
}

TEST(EntryHeader, RecognisesTheRecordsThatMayStartAnEntry) {
  const auto kindOf = [](uint32_t value) {
    std::string bytes;
    testing::putLe32(bytes, value);
    return classifyRecord(reinterpret_cast<const unsigned char*>(bytes.data()));
  };
  EXPECT_EQ(kindOf(0x04034B50u), RecordKind::Entry);
  EXPECT_EQ(kindOf(0x50000000u), RecordKind::Entry);
  EXPECT_EQ(kindOf(0x08074B50u), RecordKind::DataDescriptor);
  EXPECT_EQ(kindOf(0x02014B50u), RecordKind::End);  // central directory
  EXPECT_EQ(kindOf(0x58465352u), RecordKind::End);  // "RSFX"
}

TEST(EntryHeader, ReadsTheFieldsItUses) {
  testing::EntryFields fields = testing::entry("dir/file.txt", "content");
  fields.method = 8;
  fields.flags = 0x0802;
  fields.modTime = 0x1234;
  fields.modDate = 0x5678;
  const std::string bytes = testing::entryBytes(fields);
  const EntryHeader header = parseEntryHeader(reinterpret_cast<const unsigned char*>(bytes.data()));
  EXPECT_EQ(header.flags, 0x0802);
  EXPECT_EQ(header.method, 8);
  EXPECT_EQ(header.modTime, 0x1234);
  EXPECT_EQ(header.modDate, 0x5678);
  EXPECT_EQ(header.crc32, testing::crcOf("content"));
  EXPECT_EQ(header.compressedSize, bytes.size() - 30 - 12);
  EXPECT_EQ(header.nameLength, 12);
  EXPECT_EQ(header.extraLength, 0);
}

}  // namespace
}  // namespace setup
