#include "setup/package/work_folder.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

namespace setup {

namespace {

// A folder of this run's own, made fresh in `folder` (which ends in "/"): any
// name fixed in a folder others may write to can be taken before we come.
bool makeOwnFolderIn(char* folder, size_t size)
{
    return appendText(folder, size, "KARVELO-XXXXXX") && mkdtemp(folder);
}

}  // namespace

bool chooseWorkFolder(char* out, size_t size)
{
    char own[kPathSize];
    // The installer's command line cannot carry a blank in the path, and a
    // one-character base would be the root itself.
    if (!temporaryFolder(own, sizeof own) || strchr(own, ' ') || strlen(own) == 1 ||
        !makeOwnFolderIn(own, sizeof own)) {
        systemFolder(own, sizeof own);
        if (!makeOwnFolderIn(own, sizeof own))
            return false;
    }
    if (copyText(out, size, own) && appendText(out, size, "/$Pakorix.Tmp"))
        return true;
    removeFolder(own);
    return false;
}

bool ensureWorkFolder(const char* workFolder, int& fd, SetupUi& ui)
{
    if (fd >= 0)
        return true;
    createFolderWithParents(workFolder, 0700);
    // The folder sits in a place other users may write to: anything we did
    // not make ourselves could lead our files elsewhere, and its name may be
    // given to another folder at any moment. What is checked is the folder
    // held open, and everything below it is reached through that descriptor.
    // One left behind by an earlier run may have been opened up since; others
    // must not be able to change the folders inside it while we unpack.
    const int opened = openFolder(workFolder);
    // Root hands the folder's path to the installer: a parent or a grandparent
    // others may change could give that path to a folder of theirs.
    if (opened >= 0 && claimFolder(opened)) {
        const int parent = openFolderIn(opened, "..", nullptr);
        const bool parentsSafe =
            parent >= 0 && !othersMayChangeParent(opened) && !othersMayChangeParent(parent);
        if (parent >= 0)
            closeFile(parent);
        if (geteuid() != 0 || parentsSafe) {
            fd = opened;
            return true;
        }
        // Ours, and empty unless an earlier run left something: not left behind.
        if (namesFolder(workFolder, opened))
            removeFolder(workFolder);
    }
    if (opened >= 0)
        closeFile(opened);
    reportFailure(ui, workFolder, "Error in directory ..");
    return false;
}

}  // namespace setup
