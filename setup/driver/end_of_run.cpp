#include "setup/driver/end_of_run.h"

#include <string.h>

#include "setup/driver/setup_run.h"
#include "setup/driver/setup_ui.h"
#include "setup/package/volumes.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"

namespace setup {

int finishSetup(SetupRun& run, SetupUi& ui)
{
    if (run.packageFd >= 0 && !closeFile(run.packageFd))
        reportError(ui, "Kann Datei nicht schließen ..");
    run.packageFd = -1;
    ExtractionState& extraction = run.extraction;
    const int work = extraction.workFolderFd;
    if (run.joinedFile[0] && work >= 0)
        removeIn(work, kJoinedFileName, false);
    // Files left by a failed extraction keep their folders.
    removeCreatedFolders(extraction);
    // Only while its name still stands for the folder held open: a folder put
    // in its place since is none of ours.
    if (work >= 0 && namesFolder(run.workFolder, work))
        removeFolder(run.workFolder);
    if (run.ownsWorkFolderParent) {
        *strrchr(run.workFolder, '/') = '\0';
        removeFolder(run.workFolder);
    }
    releaseExtractionState(extraction);
    releasePackageSettings(run.settings);
    return 0;
}

}  // namespace setup
