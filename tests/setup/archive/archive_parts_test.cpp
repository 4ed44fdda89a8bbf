#include <gtest/gtest.h>

#include <string>

#include "setup/archive/entry_header.h"
#include "setup/archive/entry_paths.h"
#include "tools/mkpackage/zip_entry.h"

namespace setup {
namespace {

TEST(EntryHeader, RecognisesTheRecordsThatMayStartAnEntry)
{
    const auto kindOf = [](uint32_t value) {
        const unsigned char bytes[4] = {
            static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        return classifyRecord(bytes);
    };
    EXPECT_EQ(kindOf(0x04034B50u), RecordKind::Entry);
    EXPECT_EQ(kindOf(0x50000000u), RecordKind::Entry);
    EXPECT_EQ(kindOf(0x08074B50u), RecordKind::DataDescriptor);
    EXPECT_EQ(kindOf(0x02014B50u), RecordKind::End);  // central directory
    EXPECT_EQ(kindOf(0x58465352u), RecordKind::End);  // "RSFX"
}

TEST(EntryHeader, ReadsTheFieldsItUses)
{
    mkpackage::EntryPlan plan;
    plan.name = "dir/file.txt";
    plan.data = {'c', 'o', 'n', 't', 'e', 'n', 't'};
    plan.extraFlags = 0x0802;
    plan.modified = {0x1234, 0x5678};
    const mkpackage::Bytes bytes = mkpackage::encodeEntry(plan);
    const EntryHeader header = parseEntryHeader(bytes.data());
    EXPECT_EQ(header.flags, 0x0802);
    EXPECT_EQ(header.method, 8);
    EXPECT_EQ(header.modTime, 0x1234);
    EXPECT_EQ(header.modDate, 0x5678);
    EXPECT_EQ(header.crc32, 0xFEC530A9u);  // CRC-32 of "content"
    EXPECT_EQ(header.compressedSize, bytes.size() - 30 - 12);
    EXPECT_EQ(header.nameLength, 12);
    EXPECT_EQ(header.extraLength, 0);
}

}  // namespace
}  // namespace setup
