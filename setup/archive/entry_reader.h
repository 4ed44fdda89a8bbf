#pragma once
// Walks the archive's local entries and hands out each one's name and bytes,
// decrypted, inflated and checked against its CRC-32. It reads only the
// package: where the bytes go, and what may be created, is the caller's.
#include <stddef.h>
#include <stdint.h>

#include "setup/archive/entry_data.h"
#include "setup/archive/entry_header.h"
#include "common/package_format/zip_crypto.h"
#include "setup/platform/path_text.h"

namespace setup {

class SetupUi;

// The message for every kind of damage, the reader's and its caller's.
inline constexpr char kUnpackFailed[] = "Fehler beim Entpacken der Datei(en).";

struct EntryReader {
    int package;
    long long packageSize;
    long long position;  // of the next record
    size_t nameRoom;     // bytes a name may take where the caller puts it
    SetupUi* ui;
    char* archivePassword;  // 80 bytes, remembered from entry to entry
    ChunkBuffers buffers;
    unsigned entries;  // handed out so far
    // The entry handed out last.
    EntryHeader header;
    char name[kPathSize];  // normalised: "/" between folders, below the work folder
    uint32_t dataSize;     // without the encryption header
    bool encrypted;
    common::ZipKeys keys;
};

// Starts at `archiveStart`. `nameRoom` bounds the names read; a longer one is
// refused. False after the message ("Error reading archive.", or damage when
// memory runs out).
bool openEntryReader(EntryReader& reader, int package, long long archiveStart, size_t nameRoom, SetupUi& ui,
                     char* archivePassword);
void closeEntryReader(EntryReader& reader);

enum class NextEntry { Ready, End, Failed };

// Moves to the next entry: reads and checks its name and finds its password.
// Ready with the entry in `reader`; End after the last one; Failed after the
// message, which ends the walk (an archive without any entry fails too).
NextEntry nextEntry(EntryReader& reader);

// The entry's bytes, handed to `sink`; false after the message (damage, or an
// unknown method before anything is read).
bool readEntryBytes(EntryReader& reader, const ByteSink& sink);

}  // namespace setup
