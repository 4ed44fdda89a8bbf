#pragma once
// Everything one run of the setup keeps from start-up to its end.
#include <stddef.h>

#include "setup/archive/extract.h"
#include "setup/package/package_header.h"
#include "setup/platform/path_text.h"
#include "setup/platform/processes.h"

namespace setup {

// The work folder's name is built in a buffer of this fixed size: a path of
// up to 260 characters and its terminator. A longer temporary folder makes
// way for the system folder rather than leave a cut name.
constexpr size_t kWorkFolderSize = 261;

// The operating-system calls a run depends on, replaceable so that every
// path of the run can be tried without root rights or a real installer.
struct SystemCalls {
    bool (*isAdministrator)();
    bool (*startInstaller)(const char* commandLine, int workFolder, bool highPriority, ChildProcess* child);
    void (*waitForChild)(ChildProcess* child, void (*serviceEvents)(void*), void* context);
};

// The real ones.
const SystemCalls& systemCalls();

struct SetupRun {
    const SystemCalls* system;
    char ownPath[kPathSize];
    char workFolder[kWorkFolderSize];
    bool ownsWorkFolderParent;     // made fresh for this run, removed at its end
    char systemFolder[kPathSize];  // ends in "/"
    int packageFd;                 // -1 when closed
    char joinedFile[kPathSize];    // "" unless the package came in volumes
    bool installDone;              // the user started the installation
    bool installing;               // the install sequence runs; window commands wait
    PackageSettings settings;
    ExtractionState extraction;
};

// A run that has not started: no package open, the real system calls.
void initSetupRun(SetupRun& run);

}  // namespace setup
