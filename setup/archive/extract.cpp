#include "setup/archive/extract.h"

#include <stdlib.h>
#include <string.h>

#include "setup/archive/dos_time.h"
#include "setup/archive/entry_data.h"
#include "setup/archive/entry_header.h"
#include "setup/archive/entry_paths.h"
#include "setup/archive/password.h"
#include "setup/archive/path_list.h"
#include "setup/package/package_header.h"
#include "setup/driver/setup_ui.h"
#include "setup/package/work_folder.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {
namespace {

constexpr char kUnpackFailed[] = "Fehler beim Entpacken der Datei(en).";
constexpr char kInvalidName[] = "Invalid filename.";

enum class EntryOutcome { Done, Failed };

struct Walk {
  int package;
  long long packageSize;
  const char* workFolder;
  SetupUi& ui;
  ExtractionState& state;
  ChunkBuffers buffers;
};

// The end of a walk that unpacked nothing usable: the message and the status line.
void reportUnpackFailed(SetupUi& ui) {
  reportError(ui, kUnpackFailed);
  ui.setStatusText("Error extracting file(s).");
}

void showProgress(SetupUi& ui, const char* target) {
  char text[kPathSize + 32];
  copyText(text, sizeof text, "\r\n\r\n\r\n\r\n  Entpacke: ");
  appendText(text, sizeof text, target);
  ui.setStatusText(text);
  ui.processOneEvent();
}

// Gives the file its stored time and closes it; a failed close is reported
// but does not stop the walk.
void finishFile(SetupUi& ui, int fd, const char* target, const EntryHeader& header) {
  time_t modified;
  if (dosDateTimeToTime(header.modDate, header.modTime, modified)) setLastWriteTime(fd, modified);
  if (!closeFile(fd)) reportFailure(ui, target, "Kann Datei nicht schließen ..");
}

EntryOutcome writeEntryFile(Walk& walk, const EntryHeader& header, const char* name,
                            long long dataStart, uint32_t dataSize, ZipKeys* keys) {
  SetupUi& ui = walk.ui;
  int& work = walk.state.workFolderFd;
  if (!ensureWorkFolder(walk.workFolder, work, ui)) return EntryOutcome::Failed;
  // The path only names the file in messages and the list.
  char target[kPathSize];
  copyText(target, sizeof target, walk.workFolder);
  appendText(target, sizeof target, "/");
  appendText(target, sizeof target, name);
  const char* lastSlash = strrchr(name, '/');
  const int folder = openEntryFolder(work, name, &walk.state.createdFolders);
  if (folder < 0) {
    // The message names the whole folder part.
    if (lastSlash)
      target[strlen(walk.workFolder) + 1 + static_cast<size_t>(lastSlash - name)] = '\0';
    reportFailure(ui, target, "Error in directory ..");
    return EntryOutcome::Failed;
  }
  // A name ending in "/" stands for a folder, which now exists.
  const char* base = lastSlash ? lastSlash + 1 : name;
  const int fd = *base ? createFileIn(folder, base) : -1;
  if (folder != work) closeFile(folder);
  if (!*base) return EntryOutcome::Done;
  if (fd < 0) {
    reportFailure(ui, target, "Kann Datei nicht öffnen ..");
    return EntryOutcome::Failed;
  }
  showProgress(ui, target);
  const bool listed = appendPath(walk.state.extractedFiles, target);
  // A Deflate stream can end at its final block before a size that runs past
  // the file is used up; without this the walk would then stop quietly and
  // report the entries after it as never there. An unknown method is refused
  // before its size matters.
  const bool knownMethod = header.method == 0 || header.method == 8;
  const bool dataInFile = dataStart + dataSize <= walk.packageSize;
  const UnpackResult result =
      listed && (dataInFile || !knownMethod)
          ? unpackEntryData(walk.package, fd, header.method, dataSize, keys, walk.buffers,
                            header.crc32)
          : UnpackResult::Damaged;
  if (result == UnpackResult::UnknownMethod) reportError(ui, "Unbekanntes Kompressionsformat");
  if (result == UnpackResult::Damaged) reportError(ui, kUnpackFailed);
  finishFile(ui, fd, target, header);
  return result == UnpackResult::Ok ? EntryOutcome::Done : EntryOutcome::Failed;
}

// Reads the name into `name` and checks it; false after the message.
bool readEntryName(Walk& walk, long long start, const EntryHeader& header, char* name) {
  // Room for the name after the work folder, a "/" and the terminating NUL.
  const size_t used = strlen(walk.workFolder) + 2;
  const size_t room = used < kPathSize ? kPathSize - used : 0;
  const size_t want = header.nameLength < room ? header.nameLength : room;
  if (!readAt(walk.package, start + kEntryHeaderSize, name, want)) {
    reportError(walk.ui, kUnpackFailed);
    return false;
  }
  name[want] = '\0';
  // Too long for a path here unless a NUL cuts it short in time.
  const bool fits = want == header.nameLength || strlen(name) < want;
  if (fits && normaliseEntryName(name)) return true;
  reportError(walk.ui, kInvalidName);
  return false;
}

EntryOutcome processEntry(Walk& walk, long long start, const EntryHeader& header) {
  char name[kPathSize];
  if (!readEntryName(walk, start, header, name)) return EntryOutcome::Failed;
  // The data follows the name directly; an extra field is not skipped.
  const long long dataStart = start + kEntryHeaderSize + header.nameLength;
  uint32_t dataSize = header.compressedSize;
  const bool encrypted = (header.flags & 1u) != 0;
  ZipKeys keys;
  if (encrypted) {
    unsigned char encryptionHeader[kEncryptionHeaderSize];
    if (dataSize < kEncryptionHeaderSize ||
        !readAt(walk.package, dataStart, encryptionHeader, sizeof encryptionHeader)) {
      reportError(walk.ui, kUnpackFailed);
      return EntryOutcome::Failed;
    }
    dataSize -= kEncryptionHeaderSize;
    const unsigned char check =
        encryptionCheckByte(header.flags, header.modTime, header.crc32);
    switch (findPassword(walk.ui, walk.state.archivePassword, encryptionHeader, check, keys)) {
      case PasswordResult::Accepted: break;
      // An entry that cannot be opened fails the run: asking for the
      // passwords of the entries after it would be in vain.
      case PasswordResult::Rejected:
        reportUnpackFailed(walk.ui);
        return EntryOutcome::Failed;
      case PasswordResult::Cancelled: return EntryOutcome::Failed;
    }
  }
  const long long fileDataStart = dataStart + (encrypted ? kEncryptionHeaderSize : 0);
  if (!seekTo(walk.package, fileDataStart)) {
    reportError(walk.ui, kUnpackFailed);
    return EntryOutcome::Failed;
  }
  return writeEntryFile(walk, header, name, fileDataStart, dataSize, encrypted ? &keys : nullptr);
}

// Runs the walk from archiveStart; false after a failure that ended it.
bool walkEntries(Walk& walk, long long position, unsigned& entries) {
  for (;;) {
    unsigned char raw[kEntryHeaderSize];
    if (!seekTo(walk.package, position)) return true;
    const size_t got = readFully(walk.package, raw, sizeof raw);
    if (got < 4) return true;
    const RecordKind kind = classifyRecord(raw);
    if (kind == RecordKind::End) return true;
    if (kind == RecordKind::DataDescriptor) {
      position += kDataDescriptorSize;
      continue;
    }
    if (got < sizeof raw) {  // an entry cut off inside its header
      reportError(walk.ui, kUnpackFailed);
      return false;
    }
    const EntryHeader header = parseEntryHeader(raw);
    if (processEntry(walk, position, header) == EntryOutcome::Failed) return false;
    ++entries;
    position += kEntryHeaderSize + header.nameLength + static_cast<long long>(header.compressedSize);
  }
}

}  // namespace

bool extractArchive(int packageFd, const PackageSettings& settings, const char* workFolder,
                    SetupUi& ui, ExtractionState& state) {
  state.extractionOk = false;
  releasePathList(state.extractedFiles);
  const long long size = fileSize(packageFd);
  if (size < 0 || settings.archiveStart > size || !seekTo(packageFd, settings.archiveStart)) {
    reportError(ui, "Error reading archive.");
    return false;
  }
  // The inflater may look two bytes beyond its input and output.
  unsigned char* input = static_cast<unsigned char*>(malloc(kChunkSize + 2));
  unsigned char* output = static_cast<unsigned char*>(malloc(kInflateOutputSize + 2));
  Walk walk{packageFd, size, workFolder, ui, state, {input, output}};
  unsigned entries = 0;
  bool walked = false;
  if (input && output) walked = walkEntries(walk, settings.archiveStart, entries);
  else reportError(ui, kUnpackFailed);
  free(input);
  free(output);
  if (!walked) return false;
  // An archive without a single entry installs nothing.
  if (entries == 0) {
    reportUnpackFailed(ui);
    return false;
  }
  state.extractionOk = true;
  return true;
}

}  // namespace setup
