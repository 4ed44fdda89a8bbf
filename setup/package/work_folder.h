#pragma once
// The private folder the setup unpacks into.
#include <stddef.h>

namespace setup {

class SetupUi;

// A folder of the run's own, made fresh (mode 0700) in the temporary folder,
// + "/$Pakorix.Tmp" without a trailing "/"; in the system folder when the
// temporary one contains a blank, is a single character or takes no folder.
// The work folder itself is only named. False if no folder could be made or
// the name does not fit.
bool chooseWorkFolder(char* out, size_t size);

// Creates the folder (mode 0700, parents as needed) or accepts an existing
// one of our own, and holds it open in `fd`; with `fd` already open nothing
// happens. A link, a non-folder or a folder of another user is refused with
// the folder path / "Error in directory ..".
bool ensureWorkFolder(const char* workFolder, int& fd, SetupUi& ui);

}  // namespace setup
