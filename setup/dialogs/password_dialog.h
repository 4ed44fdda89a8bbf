#pragma once
// DLG_PASS: the password for an encrypted archive entry.

namespace setup {

// OK: true with the entered text (at most 79 characters in UTF-8, terminated)
// in `entry` (kPasswordEntrySize bytes) and its length. Cancel, Escape: false.
bool askPassword(char* entry, int* length);

}  // namespace setup
