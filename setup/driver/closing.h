#pragma once
// The end of the window's life, shared by the Close button and an install
// sequence that closes by itself.

namespace setup {

class SetupWindow;
struct SetupRun;

// Deletes the unpacked files, then closes the window with 2.
void deleteFilesAndClose(SetupRun& run, SetupWindow& window);

}  // namespace setup
