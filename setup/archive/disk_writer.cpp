// The disk side of the extraction: where each entry's file goes below the
// work folder, what is refused there, and what is left when an entry fails.
// The archive itself is read by the entry reader.
#include <string.h>

#include "common/package_format/dos_time.h"
#include "setup/archive/entry_paths.h"
#include "setup/archive/entry_reader.h"
#include "setup/archive/extract.h"
#include "setup/archive/path_list.h"
#include "setup/driver/setup_ui.h"
#include "setup/package/package_header.h"
#include "setup/package/work_folder.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {
namespace {

bool writeToFile(void* fd, const unsigned char* data, size_t size)
{
    return writeFully(*static_cast<int*>(fd), data, size);
}

void showProgress(SetupUi& ui, const char* target)
{
    char text[kPathSize + 32];
    copyText(text, sizeof text, "\r\n\r\n\r\n\r\n  Entpacke: ");
    appendText(text, sizeof text, target);
    ui.setStatusText(text);
    ui.processOneEvent();
}

// Gives the file its stored time and closes it; a failed close is reported
// but does not stop the walk.
void finishFile(SetupUi& ui, int fd, const char* target, const EntryHeader& header)
{
    time_t modified;
    if (common::dosDateTimeToTime(header.modDate, header.modTime, modified))
        setLastWriteTime(fd, modified);
    if (!closeFile(fd))
        reportFailure(ui, target, "Kann Datei nicht schließen ..");
}

// Creates the entry's folders and file and fills it. A file that fails stays,
// listed, with what it got: Close deletes it with the others.
bool writeEntryFile(EntryReader& reader, const char* workFolder, SetupUi& ui, ExtractionState& state)
{
    int& work = state.workFolderFd;
    if (!ensureWorkFolder(workFolder, work, ui))
        return false;
    const char* name = reader.name;
    // The path only names the file in messages and the list.
    char target[kPathSize];
    copyText(target, sizeof target, workFolder);
    appendText(target, sizeof target, "/");
    appendText(target, sizeof target, name);
    const char* lastSlash = strrchr(name, '/');
    const int folder = openEntryFolder(work, name, &state.createdFolders);
    if (folder < 0) {
        // The message names the whole folder part.
        if (lastSlash)
            target[strlen(workFolder) + 1 + static_cast<size_t>(lastSlash - name)] = '\0';
        reportFailure(ui, target, "Error in directory ..");
        return false;
    }
    // A name ending in "/" stands for a folder, which now exists.
    const char* base = lastSlash ? lastSlash + 1 : name;
    int fd = *base ? createFileIn(folder, base) : -1;
    if (folder != work)
        closeFile(folder);
    if (!*base)
        return true;
    if (fd < 0) {
        reportFailure(ui, target, "Kann Datei nicht öffnen ..");
        return false;
    }
    showProgress(ui, target);
    bool written = appendPath(state.extractedFiles, target);
    if (!written)
        reportError(ui, kUnpackFailed);
    else
        written = readEntryBytes(reader, ByteSink{writeToFile, &fd});
    finishFile(ui, fd, target, reader.header);
    return written;
}

}  // namespace

bool extractArchive(int packageFd, const PackageSettings& settings, const char* workFolder, SetupUi& ui,
                    ExtractionState& state)
{
    state.extractionOk = false;
    releasePathList(state.extractedFiles);
    // Room for a name after the work folder, a "/" and the terminating NUL.
    const size_t used = strlen(workFolder) + 2;
    EntryReader reader;
    if (!openEntryReader(reader, packageFd, settings.archiveStart, used < kPathSize ? kPathSize - used : 0,
                         ui, state.archivePassword))
        return false;
    NextEntry next;
    do {
        next = nextEntry(reader);
    } while (next == NextEntry::Ready && writeEntryFile(reader, workFolder, ui, state));
    closeEntryReader(reader);
    state.extractionOk = next == NextEntry::End;
    return state.extractionOk;
}

}  // namespace setup
