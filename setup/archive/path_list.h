#pragma once
// Growing and releasing the path lists of the extraction state.
#include "setup/archive/extract.h"

namespace setup {

// Appends a malloc'd copy of `path`; false when memory runs out.
bool appendPath(PathList& list, const char* path);
void releasePathList(PathList& list);

}  // namespace setup
