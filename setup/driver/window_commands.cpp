#include "setup/driver/window_commands.h"

#include "setup/driver/closing.h"
#include "setup/driver/install_sequence.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/setup_window.h"
#include "setup/package/fixed_notice.h"

namespace setup {
namespace {

void showInformation(const SetupRun& run, SetupWindow& window)
{
    // The notice is at most 255 bytes of Windows-1252, three times that in UTF-8.
    char text[3 * kFixedNoticeLength + 3 * 255 + 1];
    copyText(text, sizeof text, fixedNotice());
    if (run.settings.notice)
        appendText(text, sizeof text, run.settings.notice);
    window.messageBox(text, "License Information", Icon::Information, Buttons::Ok);
}

}  // namespace

const char* mainWindowTitle(const SetupRun& run)
{
    return run.settings.productName[0] ? run.settings.productName : "Self-extracting Archive";
}

const char* openingText(const SetupRun& run)
{
    return run.settings.welcomeText ? run.settings.welcomeText : kDefaultWelcomeText;
}

bool startsUnattended(const SetupRun& run)
{
    return run.settings.header.welcomeTextLength == 0 && run.settings.header.keepWindowOpen == 0;
}

void windowOpened(SetupRun& run, SetupWindow& window)
{
    if (!startsUnattended(run))
        return;
    window.bringToForeground();
    installCommand(run, window);
}

void installCommand(SetupRun& run, SetupWindow& window)
{
    if (run.installing)
        return;
    if (!run.installDone) {
        runInstallation(run, window);
    } else if (!run.settings.header.hideInfoButton) {
        showInformation(run, window);
    } else {
        window.bringToForeground();
        closeCommand(run, window);
    }
}

void closeCommand(SetupRun& run, SetupWindow& window)
{
    if (run.installing)
        return;
    deleteFilesAndClose(run, window);
}

}  // namespace setup
