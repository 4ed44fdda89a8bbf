#include "setup/archive/entry_reader.h"

#include <stdlib.h>
#include <string.h>

#include "setup/archive/entry_paths.h"
#include "setup/archive/password.h"
#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"

namespace setup {
namespace {

// The end of a walk that unpacked nothing usable: the message and the status line.
void reportUnpackFailed(SetupUi& ui)
{
    reportError(ui, kUnpackFailed);
    ui.setStatusText("Error extracting file(s).");
}

// Reads the name and checks it; false after the message.
bool readEntryName(EntryReader& reader, long long start)
{
    const size_t length = reader.header.nameLength;
    const size_t want = length < reader.nameRoom ? length : reader.nameRoom;
    char* name = reader.name;
    if (!readAt(reader.package, start + kEntryHeaderSize, name, want)) {
        reportError(*reader.ui, kUnpackFailed);
        return false;
    }
    name[want] = '\0';
    // Too long for a path here unless a NUL cuts it short in time.
    const bool fits = want == length || strlen(name) < want;
    if (fits && normaliseEntryName(name))
        return true;
    reportError(*reader.ui, "Invalid filename.");
    return false;
}

// Name, password and the position of the data; false after the message.
bool openEntry(EntryReader& reader, long long start)
{
    if (!readEntryName(reader, start))
        return false;
    SetupUi& ui = *reader.ui;
    const EntryHeader& header = reader.header;
    // The data follows the name directly; an extra field is not skipped.
    long long dataStart = start + kEntryHeaderSize + header.nameLength;
    reader.dataSize = header.compressedSize;
    reader.encrypted = (header.flags & 1u) != 0;
    if (reader.encrypted) {
        unsigned char encryptionHeader[kEncryptionHeaderSize];
        if (reader.dataSize < kEncryptionHeaderSize ||
            !readAt(reader.package, dataStart, encryptionHeader, sizeof encryptionHeader)) {
            reportError(ui, kUnpackFailed);
            return false;
        }
        reader.dataSize -= kEncryptionHeaderSize;
        dataStart += kEncryptionHeaderSize;
        const unsigned char check = encryptionCheckByte(header.flags, header.modTime, header.crc32);
        switch (findPassword(ui, reader.archivePassword, encryptionHeader, check, reader.keys)) {
        case PasswordResult::Accepted:
            break;
        // An entry that cannot be opened fails the run: asking for the
        // passwords of the entries after it would be in vain.
        case PasswordResult::Rejected:
            reportUnpackFailed(ui);
            return false;
        case PasswordResult::Cancelled:
            return false;
        }
    }
    if (seekTo(reader.package, dataStart))
        return true;
    reportError(ui, kUnpackFailed);
    return false;
}

}  // namespace

bool openEntryReader(EntryReader& reader, int package, long long archiveStart, size_t nameRoom, SetupUi& ui,
                     char* archivePassword)
{
    reader.package = package;
    reader.packageSize = fileSize(package);
    reader.position = archiveStart;
    reader.nameRoom = nameRoom;
    reader.ui = &ui;
    reader.archivePassword = archivePassword;
    reader.entries = 0;
    if (reader.packageSize < 0 || archiveStart > reader.packageSize || !seekTo(package, archiveStart)) {
        reportError(ui, "Error reading archive.");
        return false;
    }
    // The inflater may look two bytes beyond its input and output.
    reader.buffers.input = static_cast<unsigned char*>(malloc(kChunkSize + 2));
    reader.buffers.output = static_cast<unsigned char*>(malloc(kInflateOutputSize + 2));
    if (reader.buffers.input && reader.buffers.output)
        return true;
    closeEntryReader(reader);
    reportError(ui, kUnpackFailed);
    return false;
}

void closeEntryReader(EntryReader& reader)
{
    free(reader.buffers.input);
    free(reader.buffers.output);
}

NextEntry nextEntry(EntryReader& reader)
{
    for (;;) {
        unsigned char raw[kEntryHeaderSize];
        size_t got = 0;
        if (seekTo(reader.package, reader.position))
            got = readFully(reader.package, raw, sizeof raw);
        const RecordKind kind = got < 4 ? RecordKind::End : classifyRecord(raw);
        if (kind == RecordKind::End) {
            // An archive without a single entry installs nothing.
            if (reader.entries != 0)
                return NextEntry::End;
            reportUnpackFailed(*reader.ui);
            return NextEntry::Failed;
        }
        if (kind == RecordKind::DataDescriptor) {
            reader.position += kDataDescriptorSize;
            continue;
        }
        if (got < sizeof raw) {  // an entry cut off inside its header
            reportError(*reader.ui, kUnpackFailed);
            return NextEntry::Failed;
        }
        reader.header = parseEntryHeader(raw);
        const long long start = reader.position;
        reader.position += kEntryHeaderSize + reader.header.nameLength +
                           static_cast<long long>(reader.header.compressedSize);
        if (!openEntry(reader, start))
            return NextEntry::Failed;
        ++reader.entries;
        return NextEntry::Ready;
    }
}

bool readEntryBytes(EntryReader& reader, const ByteSink& sink)
{
    const EntryHeader& header = reader.header;
    // A Deflate stream can end at its final block before a size that runs past
    // the file is used up; without this the walk would then stop quietly and
    // report the entries after it as never there. An unknown method is refused
    // before its size matters.
    const bool knownMethod = header.method == 0 || header.method == 8;
    // The data ends where the next record starts.
    const bool dataInFile = reader.position <= reader.packageSize;
    const UnpackResult result =
        dataInFile || !knownMethod
            ? unpackEntryData(reader.package, sink, header.method, reader.dataSize,
                              reader.encrypted ? &reader.keys : nullptr, reader.buffers, header.crc32)
            : UnpackResult::Damaged;
    if (result == UnpackResult::UnknownMethod)
        reportError(*reader.ui, "Unbekanntes Kompressionsformat");
    if (result == UnpackResult::Damaged)
        reportError(*reader.ui, kUnpackFailed);
    return result == UnpackResult::Ok;
}

}  // namespace setup
