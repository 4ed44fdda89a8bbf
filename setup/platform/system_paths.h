#pragma once
// The few places of the system the setup needs to know about.
#include <stddef.h>

namespace setup {

// $TMPDIR when set and absolute, else "/tmp"; always ending in "/".
bool temporaryFolder(char* out, size_t size);
// A folder without blanks that every user may write to: "/var/tmp/".
bool systemFolder(char* out, size_t size);
// The full path of the running program, for messages and to find files beside
// it; the program itself is read through "/proc/self/exe".
bool ownExecutablePath(char* out, size_t size);

}  // namespace setup
