#pragma once
// DLG_PASS: the password for an encrypted archive entry.

namespace setup {

// OK: true with the entered text (at most 79 bytes, terminated) in `buf80`
// and its length. Cancel, Escape: false.
bool askPassword(char* buf80, int* length);

}  // namespace setup
