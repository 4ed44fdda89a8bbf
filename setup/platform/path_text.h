#pragma once
// Bounded text building for paths and messages held in fixed buffers.
#include <stddef.h>

namespace setup {

// Large enough for any path Linux hands us (PATH_MAX).
constexpr size_t kPathSize = 4096;

// Each returns false, leaving `out` a valid (possibly shortened) text, when the
// result would not fit into `size` bytes including the terminating NUL.
bool copyText(char* out, size_t size, const char* text);
bool appendText(char* out, size_t size, const char* text);
// Appends `value` in decimal, padded with leading zeros to at least `minDigits`.
bool appendNumber(char* out, size_t size, unsigned long value, int minDigits);

}  // namespace setup
