#pragma once
// The main window's buttons and its opening, as decisions on the run state.

namespace setup {

class SetupWindow;
struct SetupRun;

// "Self-extracting Archive" unless the package names its product.
const char* mainWindowTitle(const SetupRun& run);
// The package's welcome text or the built-in one.
const char* openingText(const SetupRun& run);
// No welcome text and the window closes by itself: nobody needs to press
// Install.
bool startsUnattended(const SetupRun& run);

// Called once the window is up: starts an unattended run.
void windowOpened(SetupRun& run, SetupWindow& window);
// Install button and Enter: the install sequence first, afterwards the
// information box, or Close when the Install button was removed.
void installCommand(SetupRun& run, SetupWindow& window);
// Close button, Escape and the close box: deletes the unpacked files, then
// closes with 2. Ignored while the install sequence runs: the installer may
// still be reading the files.
void closeCommand(SetupRun& run, SetupWindow& window);

}  // namespace setup
