#include "setup/package/volumes.h"

#include <stdlib.h>
#include <string.h>

#include "setup/package/package_header.h"
#include "setup/driver/setup_ui.h"
#include "setup/package/work_folder.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {

constexpr size_t kCopyChunk = 32768;

bool joinedFilePath(char* out, size_t size, const char* workFolder)
{
    return copyText(out, size, workFolder) && appendText(out, size, "/") &&
           appendText(out, size, kJoinedFileName);
}

bool volumePath(char* out, size_t size, const char* ownPath, unsigned volume)
{
    if (!copyText(out, size, ownPath))
        return false;
    if (volume == 0)
        return true;
    const size_t length = strlen(out);
    if (length < 3)
        return false;
    out[length - 3] = '\0';
    return appendNumber(out, size, volume, 3);
}

// Appends the whole of `volume` to `joined`. A read that brings nothing
// before the volume's size is reached counts as a failure.
static bool copyVolume(int volume, int joined, char* buffer, long long& written)
{
    long long remaining = fileSize(volume);
    if (remaining < 0)
        return false;
    while (remaining > 0) {
        const size_t want =
            remaining < static_cast<long long>(kCopyChunk) ? static_cast<size_t>(remaining) : kCopyChunk;
        const long long got = readSome(volume, buffer, want);
        if (got <= 0 || !writeFully(joined, buffer, static_cast<size_t>(got)))
            return false;
        remaining -= got;
        written += got;
    }
    return true;
}

// Asks for the diskette of `volume`; false when the user cancels.
static bool askForVolume(const PackageSettings& settings, unsigned volume, SetupUi& ui)
{
    char text[64];
    copyText(text, sizeof text, "Setup benötigt die Diskette Nr.");
    appendNumber(text, sizeof text, volume + 1ul, 1);
    appendText(text, sizeof text, "..");
    return ui.messageBox(text, settings.productName, Icon::Information, Buttons::OkCancel) == Answer::Ok;
}

int joinVolumes(const PackageSettings& settings, int packageFd, const char* ownPath, const char* workFolder,
                int& workFolderFd, SetupUi& ui)
{
    char volume[kPathSize];
    char* buffer = static_cast<char*>(malloc(kCopyChunk));
    bool failed = !buffer || !ensureWorkFolder(workFolder, workFolderFd, ui);
    const int joined = failed ? -1 : createFileIn(workFolderFd, kJoinedFileName);
    failed = failed || joined < 0;

    long long written = 0;
    for (unsigned k = 0; !failed && written < settings.header.totalSize;) {
        // Volume 0 is the running program's own file, already open.
        if (k == 0) {
            failed = !seekTo(packageFd, 0) || !copyVolume(packageFd, joined, buffer, written);
            ++k;
            continue;
        }
        failed = !volumePath(volume, sizeof volume, ownPath, k);
        const int in = failed ? -1 : openExistingForReading(volume);
        if (in < 0) {
            failed = failed || !askForVolume(settings, k, ui);
            continue;
        }
        failed = !copyVolume(in, joined, buffer, written);
        closeFile(in);
        ++k;
    }
    free(buffer);
    if (joined >= 0 && !closeFile(joined))
        failed = true;

    const int result = failed ? -1 : openFileIn(workFolderFd, kJoinedFileName);
    if (result < 0)
        reportError(ui, "Setup-Archiv konnte nicht erfolgreich erstellt werden.");
    return result;
}

}  // namespace setup
