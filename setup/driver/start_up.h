#pragma once
// From the program's start to the main window: work folder, own file,
// header, administrator check, completeness, volumes.

namespace setup {

class SetupUi;
struct SetupRun;

// True when the main window is to be shown. On false every message has been
// shown; the caller goes on with finishSetup. `run` must be fresh
// (initSetupRun); `ownPath` is the full path of the setup's own file.
bool prepareSetup(SetupRun& run, const char* ownPath, SetupUi& ui);

}  // namespace setup
