#pragma once
// From the program's start to the main window: work folder, own file,
// header, administrator check, completeness, volumes.

namespace setup {

class SetupUi;
struct SetupRun;

// True when the main window is to be shown. On false every message has been
// shown; the caller goes on with finishSetup. `run` must be fresh
// (initSetupRun). `ownFile` is the setup's own file opened for reading (-1
// when it could not be): the package is read from it, never again by the path,
// which may name another file by now. The run owns it from here on. `ownPath`
// is that file's full path, for messages and to find further volumes.
bool prepareSetup(SetupRun& run, const char* ownPath, int ownFile, SetupUi& ui);

}  // namespace setup
