#pragma once
// The private folder the setup unpacks into.
#include <stddef.h>

namespace setup {

class SetupUi;

// base + "$Pakorix.Tmp" without a trailing "/". base is the temporary folder,
// or the system folder when the temporary one contains a blank or is a single
// character. Only computes the name; false if it does not fit.
bool chooseWorkFolder(char* out, size_t size);

// Creates the folder (mode 0700, parents as needed) or accepts an existing
// one of our own, and holds it open in `fd`; with `fd` already open nothing
// happens. A link, a non-folder or a folder of another user is refused with
// the folder path / "Error in directory ..".
bool ensureWorkFolder(const char* workFolder, int& fd, SetupUi& ui);

}  // namespace setup
