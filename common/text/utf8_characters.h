#pragma once
// Where one UTF-8 character ends, as the C library's UTF-8 decoder sees it.
#include <stddef.h>

namespace common {

// The number of bytes the character at the start of `utf8` takes; 0 when they form no
// well-formed character (a stray continuation byte, a truncated or overlong sequence, a
// surrogate), or when `length` is 0.
size_t utf8CharacterLength(const char* utf8, size_t length);

// The same, but 1 where the bytes form no character: how far to step past what cannot be
// read. 0 only when `length` is 0.
size_t utf8CharacterOrByteLength(const char* utf8, size_t length);

}  // namespace common
