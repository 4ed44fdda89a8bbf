#pragma once
// One whole run of the setup, from its start to its exit code, in front of
// whatever main window the caller built.

namespace setup {

class SetupWindow;
struct SetupRun;

// `run` is made fresh here; `window` works on it. `ownFile` is the setup's
// own file opened for reading (-1 when it could not be); the package is read
// from it. `ownPath` is its full path, for messages and further volumes;
// nullptr when the system cannot tell it: the run then only reports that its
// own file cannot be opened, naming it as it was started (`startedAs`, the
// first argument). Returns the exit code.
int runWholeSetup(SetupRun& run, const char* ownPath, int ownFile, const char* startedAs,
                  SetupWindow& window);

}  // namespace setup
