#include "setup/archive/entry_header.h"

#include "common/package_format/le_bytes.h"

namespace setup {

using common::readLe16;
using common::readLe32;

RecordKind classifyRecord(const unsigned char* signature)
{
    const uint32_t value = readLe32(signature);
    if (value == common::localEntrySignatureAtRunTime() || value == common::kAlternateEntrySignature)
        return RecordKind::Entry;
    if (value == common::kDataDescriptorSignature)
        return RecordKind::DataDescriptor;
    return RecordKind::End;
}

EntryHeader parseEntryHeader(const unsigned char* raw)
{
    EntryHeader header;
    header.flags = readLe16(raw + common::kEntryFlagsAt);
    header.method = readLe16(raw + common::kEntryMethodAt);
    header.modTime = readLe16(raw + common::kEntryTimeAt);
    header.modDate = readLe16(raw + common::kEntryDateAt);
    header.crc32 = readLe32(raw + common::kEntryCrcAt);
    header.compressedSize = readLe32(raw + common::kEntryCompressedSizeAt);
    header.nameLength = readLe16(raw + common::kEntryNameLengthAt);
    header.extraLength = readLe16(raw + common::kEntryExtraLengthAt);
    return header;
}

}  // namespace setup
