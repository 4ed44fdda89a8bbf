#pragma once
// One whole run of the setup inside a running QApplication.

namespace setup {

// `ownPath` is the setup's own file: the package is read from it and the
// installer program may lie beside it. Returns the exit code.
int runSetup(const char* ownPath);

}  // namespace setup
