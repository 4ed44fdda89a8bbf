#include <gtest/gtest.h>

#include <string>

#include "setup/archive/entry_header.h"
#include "setup/archive/entry_paths.h"
#include "setup/support/package_bytes.h"

namespace setup {
namespace {

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
