#pragma once
// One whole run of the setup inside a running QApplication: the dialogs'
// look, the main window, and the driver's run in front of it.

namespace setup {

// The arguments and the exit code are runWholeSetup's.
int runSetup(const char* ownPath, int ownFile, const char* startedAs);

}  // namespace setup
