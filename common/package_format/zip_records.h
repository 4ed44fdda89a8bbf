#pragma once
// The ZIP records a package holds: local entries (each perhaps followed by a data
// descriptor) and the end record.
#include <stdint.h>

namespace common {

constexpr uint32_t kLocalEntrySignature = 0x04034B50u;  // 50 4B 03 04
constexpr uint32_t kDataDescriptorSignature = 0x08074B50u;
constexpr uint32_t kEndRecordSignature = 0x06054B50u;  // 50 4B 05 06
// Some writers leave this in place of the local-entry signature.
constexpr uint32_t kAlternateEntrySignature = 0x50000000u;

// A local entry header: signature, version needed, then these fields; the name and the
// data follow it.
constexpr int kLocalEntryHeaderSize = 30;
enum LocalEntryField : int {
    kEntryFlagsAt = 6,            // 16 bits
    kEntryMethodAt = 8,           // 16 bits: 0 stored, 8 Deflate
    kEntryTimeAt = 10,            // 16 bits, MS-DOS time
    kEntryDateAt = 12,            // 16 bits, MS-DOS date
    kEntryCrcAt = 14,             // 32 bits
    kEntryCompressedSizeAt = 18,  // 32 bits: data after the name, encryption header included
    kEntrySizeAt = 22,            // 32 bits
    kEntryNameLengthAt = 26,      // 16 bits
    kEntryExtraLengthAt = 28,     // 16 bits
};
// Signature, CRC, compressed size, size.
constexpr int kDataDescriptorSize = 16;
// The end record: signature, four 16-bit counts, two 32-bit fields, the comment's length;
// the comment follows.
constexpr int kEndRecordSize = 22;
constexpr int kEndRecordCommentLengthAt = 20;

// General-purpose flags of a local entry.
constexpr uint16_t kEntryEncrypted = 1u << 0;
constexpr uint16_t kCheckByteFromTime = 1u << 3;  // also: sizes in a data descriptor

// The setup image must not contain the bytes of the local-entry or end-record signature (a
// scan of the file has to find the archive first), so its code compares with these, formed
// at run time where the optimiser cannot fold them back into an immediate.
uint32_t localEntrySignatureAtRunTime();
uint32_t endRecordSignatureAtRunTime();

}  // namespace common
