#pragma once
// Handing the unpacked installation script to the INF installer.
#include <stddef.h>

namespace setup {

class SetupWindow;
struct SetupRun;

// Room for any line built below: the work folder, the script's name and the
// fixed words.
constexpr size_t kCommandLineSize = 1024;

// The first installer's command line. The advanced installer always gets the
// ".ntx86" section (this system counts as the NT family); the basic one is
// "setupx" when `systemFolder` (ending in "/") holds SetupX.dll. False when
// the line does not fit.
bool installerCommandLine(char* out, size_t size, bool advancedInf, const char* systemFolder,
                          const char* workFolder, const char* infName);
// The advanced installer's second, empty section.
bool followUpCommandLine(char* out, size_t size, const char* workFolder, const char* infName);

// Runs the installer the package unpacked into the work folder (else the one on
// PATH) from the work folder and waits for it while the window stays alive; with the advanced installer, then the second section at high
// priority without window events. Returns to the saved current folder.
void runInstallerScript(SetupRun& run, SetupWindow& window);

}  // namespace setup
