#pragma once
// The package's own texts are Windows-1252; the program works in UTF-8.
#include <stddef.h>

namespace setup {

// A new NUL-terminated UTF-8 copy of `length` Windows-1252 bytes (malloc'd,
// release with free). Bytes the code page leaves undefined become "?".
// nullptr only when memory runs out.
char* ansiToUtf8(const char* text, size_t length);

// Converts into a caller's buffer; false if the result did not fit (it is
// then cut, still terminated).
bool ansiToUtf8Into(char* out, size_t size, const char* text, size_t length);

// The NUL-terminated UTF-8 `text` in Windows-1252, terminated, into `out`.
// False, leaving `out` empty, when the text is no valid UTF-8, holds a
// character the code page lacks, or does not fit into `size` bytes.
bool utf8ToAnsi(char* out, size_t size, const char* text);

}  // namespace setup
