#include "common/text/utf8_characters.h"

#include <iconv.h>

namespace common {

size_t utf8CharacterLength(const char* utf8, size_t length)
{
    iconv_t decoder = iconv_open("UTF-32LE", "UTF-8");
    if (decoder == reinterpret_cast<iconv_t>(-1)) {
        // The decoder is built into the C library; should it still be missing, ASCII is the
        // only length known for sure.
        return length > 0 && static_cast<unsigned char>(utf8[0]) < 0x80 ? 1 : 0;
    }
    // Room for exactly one character: the conversion stops behind it (E2BIG) or before a
    // sequence it cannot decode (EILSEQ, EINVAL), and what it consumed is the answer.
    char buffer[4];
    char* in = const_cast<char*>(utf8);
    size_t inLeft = length;
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(decoder, &in, &inLeft, &out, &outLeft);
    iconv_close(decoder);
    return length - inLeft;
}

size_t utf8CharacterOrByteLength(const char* utf8, size_t length)
{
    const size_t characterLength = utf8CharacterLength(utf8, length);
    return characterLength == 0 && length > 0 ? 1 : characterLength;
}

}  // namespace common
