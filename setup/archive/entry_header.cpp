#include "setup/archive/entry_header.h"

#include "setup/package/le_bytes.h"
#include "setup/package/zip_signatures.h"

namespace setup {

RecordKind classifyRecord(const unsigned char* signature) {
  const uint32_t value = readLe32(signature);
  if (value == localEntrySignature() || value == kAlternateEntrySignature) return RecordKind::Entry;
  if (value == kDataDescriptorSignature) return RecordKind::DataDescriptor;
  return RecordKind::End;
}

EntryHeader parseEntryHeader(const unsigned char* raw) {
  EntryHeader header;
  header.flags = readLe16(raw + 6);
  header.method = readLe16(raw + 8);
  header.modTime = readLe16(raw + 10);
  header.modDate = readLe16(raw + 12);
  header.crc32 = readLe32(raw + 14);
  header.compressedSize = readLe32(raw + 18);
  header.nameLength = readLe16(raw + 26);
  header.extraLength = readLe16(raw + 28);
  return header;
}

}  // namespace setup
