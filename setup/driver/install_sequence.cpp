#include "setup/driver/install_sequence.h"

#include <string.h>

#include "setup/driver/closing.h"
#include "setup/driver/installer_script.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/setup_window.h"

namespace setup {

void runInstallation(SetupRun& run, SetupWindow& window)
{
    const PackageHeader& header = run.settings.header;
    if (header.licenceTextLength != 0 &&
        !window.askLicence(run.settings.licenceText ? run.settings.licenceText : ""))
        return;

    run.installDone = true;
    run.installing = true;
    const size_t length = strlen(run.workFolder);
    if (length > 1 && run.workFolder[length - 1] == '/')
        run.workFolder[length - 1] = '\0';
    window.enableButtons(false);
    if (header.hideInfoButton)
        window.removeInstallButton();

    if (!extractArchive(run.packageFd, run.settings, run.workFolder, window, run.extraction)) {
        run.installing = false;
        window.closeWindow(1);
        return;
    }
    window.setStatusText(
        "\r\n\r\n\r\nSetup aktualisiert Ihr System:\r\n\r\nAktualisiere Systemeinstellungen ...");
    runInstallerScript(run, window);
    run.installing = false;

    if (header.keepWindowOpen) {
        window.setButtonCaption(MainButton::Close, "&Ok");
        window.setStatusText("\r\n\r\n\r\n\r\nBitte klicken Sie nach der Installation auf "
                             "\"Fertig\",\r\num dieses Fenster zu schließen.");
        window.setButtonCaption(MainButton::Install, "&Info");
        window.enableButtons(true);
        return;
    }
    window.bringToForeground();
    deleteFilesAndClose(run, window);
}

}  // namespace setup
