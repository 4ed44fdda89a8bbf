#include "setup/driver/installer_script.h"

#include "setup/driver/setup_run.h"
#include "setup/driver/setup_window.h"
#include "setup/platform/folders.h"

namespace setup {
namespace {

constexpr char kAdvancedHost[] = "rundll32.exe advpack,LaunchINFSection ";

bool appendScriptPath(char* out, size_t size, const char* workFolder, const char* infName)
{
    return appendText(out, size, workFolder) && appendText(out, size, "/") && appendText(out, size, infName);
}

bool advancedLine(char* out, size_t size, const char* workFolder, const char* infName, const char* section)
{
    return copyText(out, size, kAdvancedHost) && appendScriptPath(out, size, workFolder, infName) &&
           appendText(out, size, section);
}

void serviceWindow(void* window)
{
    static_cast<SetupWindow*>(window)->serviceEvents();
}

}  // namespace

bool installerCommandLine(char* out, size_t size, bool advancedInf, const char* systemFolder,
                          const char* workFolder, const char* infName)
{
    if (advancedInf)
        return advancedLine(out, size, workFolder, infName, ",DefaultInstall2.ntx86");
    char setupx[kPathSize];
    const bool hasSetupx = copyText(setupx, sizeof setupx, systemFolder) &&
                           appendText(setupx, sizeof setupx, "SetupX.dll") &&
                           pathKind(setupx) != PathKind::Missing;
    return copyText(out, size, hasSetupx ? "rundll.exe setupx.dll" : "rundll32.exe setupapi") &&
           appendText(out, size, ",InstallHinfSection DefaultInstall 132 ") &&
           appendScriptPath(out, size, workFolder, infName);
}

bool followUpCommandLine(char* out, size_t size, const char* workFolder, const char* infName)
{
    return advancedLine(out, size, workFolder, infName, ",DefaultInstallX");
}

void runInstallerScript(SetupRun& run, SetupWindow& window)
{
    const SystemCalls& system = *run.system;
    const bool advanced = run.settings.header.advancedInf != 0;
    char line[kCommandLineSize];
    const bool lineFits = installerCommandLine(line, sizeof line, advanced, run.systemFolder, run.workFolder,
                                               run.settings.infName);
    // Both run in the work folder, held open since the extraction.
    const int work = run.extraction.workFolderFd;
    ChildProcess child;
    if (!lineFits || !system.startInstaller(line, work, false, &child))
        reportError(window, "Fehler beim Initialisieren der Installation.");
    else
        system.waitForChild(&child, serviceWindow, &window);

    if (advanced && followUpCommandLine(line, sizeof line, run.workFolder, run.settings.infName) &&
        system.startInstaller(line, work, true, &child))
        system.waitForChild(&child, nullptr, nullptr);
}

}  // namespace setup
