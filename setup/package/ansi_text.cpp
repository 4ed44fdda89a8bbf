#include "setup/package/ansi_text.h"

#include <errno.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>

namespace setup {

// Without a converter (gconv modules missing) the upper half is taken as
// Latin-1, which Windows-1252 agrees with from 0xA0 on.
static bool latin1Fallback(char*& put, size_t& room, const unsigned char*& in, size_t& left) {
  for (; left > 0; ++in, --left) {
    const unsigned char byte = *in;
    if (byte < 0xA0) {
      if (room < 1) return false;
      *put++ = byte < 0x80 ? static_cast<char>(byte) : '?';
      room -= 1;
    } else {
      if (room < 2) return false;
      *put++ = static_cast<char>(0xC0 | (byte >> 6));
      *put++ = static_cast<char>(0x80 | (byte & 0x3F));
      room -= 2;
    }
  }
  return true;
}

bool ansiToUtf8Into(char* out, size_t size, const char* text, size_t length) {
  if (size == 0) return false;
  char* put = out;
  size_t room = size - 1;
  bool fits = true;
  iconv_t converter = iconv_open("UTF-8", "WINDOWS-1252");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    fits = latin1Fallback(put, room, in, length);
  } else {
    char* in = const_cast<char*>(text);
    while (length > 0 && iconv(converter, &in, &length, &put, &room) == static_cast<size_t>(-1)) {
      if (errno != EILSEQ || room == 0) {
        fits = false;
        break;
      }
      // A byte the code page leaves undefined.
      *put++ = '?';
      --room;
      ++in;
      --length;
    }
    iconv_close(converter);
  }
  *put = '\0';
  return fits;
}

bool utf8ToAnsi(char* out, size_t size, const char* text) {
  if (size == 0) return false;
  size_t length = strlen(text);
  char* put = out;
  size_t room = size - 1;
  bool done;
  iconv_t converter = iconv_open("WINDOWS-1252", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // Without a converter only ASCII is known to be the same in both.
    done = length <= room;
    for (size_t i = 0; done && i < length; ++i) done = static_cast<unsigned char>(text[i]) < 0x80;
    if (done) put = static_cast<char*>(memcpy(out, text, length)) + length;
  } else {
    char* in = const_cast<char*>(text);
    done = iconv(converter, &in, &length, &put, &room) != static_cast<size_t>(-1);
    iconv_close(converter);
  }
  if (!done) put = out;
  *put = '\0';
  return done;
}

char* ansiToUtf8(const char* text, size_t length) {
  // No Windows-1252 character takes more than three bytes in UTF-8.
  const size_t size = 3 * length + 1;
  char* result = static_cast<char*>(malloc(size));
  if (!result) return nullptr;
  ansiToUtf8Into(result, size, text, length);
  return result;
}

}  // namespace setup
