#include "setup/driver/start_up.h"

#include "setup/driver/setup_run.h"
#include "setup/package/completeness.h"
#include "setup/package/fixed_notice.h"
#include "setup/driver/setup_ui.h"
#include "setup/package/volumes.h"
#include "setup/package/work_folder.h"
#include "setup/platform/files.h"
#include "setup/platform/system_paths.h"

namespace setup {
namespace {

void rememberFolders(SetupRun& run, const char* ownPath)
{
    systemFolder(run.systemFolder, sizeof run.systemFolder);
    // A temporary folder too long for the work folder's buffer would leave a
    // cut name; the system folder always fits.
    run.ownsWorkFolderParent = chooseWorkFolder(run.workFolder, sizeof run.workFolder);
    if (!run.ownsWorkFolderParent) {
        copyText(run.workFolder, sizeof run.workFolder, run.systemFolder);
        appendText(run.workFolder, sizeof run.workFolder, "$Pakorix.Tmp");
    }
    copyText(run.ownPath, sizeof run.ownPath, ownPath);
}

// The joined file replaces the own file as the package from here on.
bool joinPackage(SetupRun& run, SetupUi& ui)
{
    joinedFilePath(run.joinedFile, sizeof run.joinedFile, run.workFolder);
    const int joined = joinVolumes(run.settings, run.packageFd, run.ownPath, run.workFolder,
                                   run.extraction.workFolderFd, ui);
    if (joined < 0)
        return false;
    closeFile(run.packageFd);
    run.packageFd = joined;
    return true;
}

}  // namespace

bool prepareSetup(SetupRun& run, const char* ownPath, int ownFile, SetupUi& ui)
{
    run.installDone = false;
    run.installing = false;
    fixedNotice();
    rememberFolders(run, ownPath);

    run.packageFd = ownFile;
    if (run.packageFd < 0) {
        reportFailure(ui, ownPath, "Kann Datei nicht öffnen ..");
        return false;
    }
    // Without the magic there is no package to read: as incomplete as one cut
    // short, and told at once rather than after the window has opened.
    if (!readFixedHeader(run.packageFd, run.settings)) {
        reportIncompletePackage(ui);
        return false;
    }
    if (run.settings.header.adminOnly && !run.system->isAdministrator()) {
        reportError(ui, "Dieses Programm darf nur vom System-Administrator installiert werden.");
        return false;
    }
    const bool textsRead = readVariableHeader(run.packageFd, run.settings);
    if (!run.settings.header.multiVolume)
        return checkPackageComplete(run.packageFd, run.settings, ui);
    // Volume 0 has to hold the whole header; without it there is nothing to
    // join by.
    if (!textsRead) {
        reportIncompletePackage(ui);
        return false;
    }
    return joinPackage(run, ui);
}

}  // namespace setup
