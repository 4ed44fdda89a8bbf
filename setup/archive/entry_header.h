#pragma once
// The 30-byte ZIP local entry header and the records that may take its place.
#include <stdint.h>

#include "common/package_format/dos_time.h"
#include "common/package_format/zip_crypto.h"
#include "common/package_format/zip_records.h"

namespace setup {

constexpr int kEntryHeaderSize = common::kLocalEntryHeaderSize;
using common::kDataDescriptorSize;
// The shared format's names the archive walk uses as its own.
using common::dosDateTimeToTime;
using common::encryptionCheckByte;
using common::kEncryptionHeaderSize;
using common::ZipKeys;

enum class RecordKind { Entry, DataDescriptor, End };
// Classifies the four bytes at the start of a record.
RecordKind classifyRecord(const unsigned char* signature);

struct EntryHeader {
    uint16_t flags;    // bit 0: encrypted; bit 3: check byte from the time
    uint16_t method;   // 0 stored, 8 Deflate
    uint16_t modTime;  // MS-DOS time
    uint16_t modDate;  // MS-DOS date
    uint32_t crc32;
    uint32_t compressedSize;  // data after the name, encryption header included
    uint16_t nameLength;
    uint16_t extraLength;  // not honoured: data follows the name directly
};
EntryHeader parseEntryHeader(const unsigned char* raw);

}  // namespace setup
