#pragma once
// What every run does last, whether the window was shown or not.

namespace setup {

class SetupUi;
struct SetupRun;

// Closes the package (a failure is reported), deletes the joined file,
// removes the empty folders the extraction made and the work folder when it
// is empty, and frees the run's memory. Returns the exit code, 0.
int finishSetup(SetupRun& run, SetupUi& ui);

}  // namespace setup
