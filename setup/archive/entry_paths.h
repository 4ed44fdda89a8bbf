#pragma once
// Turning an entry's stored name into a place below the work folder.
#include <stddef.h>

#include "setup/archive/extract.h"

namespace setup {

// In place: cuts at the first NUL and reads "\" as "/". False for a name that
// is empty, absolute or has a ".." component: such a name would leave the
// work folder.
bool normaliseEntryName(char* name);

// Opens the folder of the (normalised) `name`, the part before its last "/",
// below the open `workFolder`, one component at a time and never through a
// link. With `created` non-null the missing ones are made and appended to it,
// relative to the work folder. Returns the folder's descriptor (`workFolder`
// itself for a name without a folder part), or -1.
int openEntryFolder(int workFolder, const char* name, PathList* created);

// Removes the file, or with `isFolder` the empty folder, at `relative` below
// the open `workFolder`, reaching it the same way.
bool removeBelow(int workFolder, const char* relative, bool isFolder);

}  // namespace setup
