#pragma once
// What the Install button starts: licence, extraction, installer, and the
// window's state afterwards.

namespace setup {

class SetupWindow;
struct SetupRun;

// Returns with the window waiting for the user ("&Info" / "&Ok"), or closed:
// with 2 after an unattended run deleted the files, with 1 after a failed
// extraction (the files unpacked so far stay). A declined licence changes
// nothing.
void runInstallation(SetupRun& run, SetupWindow& window);

}  // namespace setup
