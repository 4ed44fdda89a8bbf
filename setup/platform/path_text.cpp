#include "setup/platform/path_text.h"

#include <string.h>

namespace setup {

bool appendText(char* out, size_t size, const char* text) {
  const size_t used = strlen(out);
  const size_t length = strlen(text);
  if (used + length < size) {
    memcpy(out + used, text, length + 1);
    return true;
  }
  // Keep what fits so the buffer stays a terminated text.
  const size_t room = size - 1 - used;
  memcpy(out + used, text, room);
  out[size - 1] = '\0';
  return false;
}

bool copyText(char* out, size_t size, const char* text) {
  out[0] = '\0';
  return appendText(out, size, text);
}

bool appendNumber(char* out, size_t size, unsigned long value, int minDigits) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count < minDigits && count < static_cast<int>(sizeof digits)) digits[count++] = '0';
  char text[sizeof digits + 1];
  for (int i = 0; i < count; ++i) text[i] = digits[count - 1 - i];
  text[count] = '\0';
  return appendText(out, size, text);
}

}  // namespace setup
