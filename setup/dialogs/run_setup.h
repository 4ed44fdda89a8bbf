#pragma once
// One whole run of the setup inside a running QApplication.

namespace setup {

// `ownPath` is the setup's own file: the package is read from it. nullptr when the system cannot tell
// it: the run then only reports that its own file cannot be opened, naming
// it as it was started (`startedAs`, the first argument). Returns the exit
// code.
int runSetup(const char* ownPath, const char* startedAs);

}  // namespace setup
