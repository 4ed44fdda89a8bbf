#pragma once
// Turning an entry's stored name into a place below the work folder.
#include <stddef.h>

#include "setup/archive/extract.h"

namespace setup {

// In place: cuts at the first NUL and reads "\" as "/". False for a name that
// is empty, absolute or has a ".." component: such a name would leave the
// work folder.
bool normaliseEntryName(char* name);

// Makes sure every folder between `workFolder` and the last "/" of the
// (normalised) `name` is a real folder, creating the missing ones and
// appending them to `created`. On failure `folder` holds the folder part of
// the target path, to report.
bool createEntryFolders(const char* workFolder, const char* name, PathList& created,
                        char* folder, size_t size);

}  // namespace setup
