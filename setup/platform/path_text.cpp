#include "setup/platform/path_text.h"

#include <string.h>

namespace setup {

bool appendText(char* out, size_t size, const char* text)
{
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

bool copyText(char* out, size_t size, const char* text)
{
    out[0] = '\0';
    return appendText(out, size, text);
}

bool appendNumber(char* out, size_t size, unsigned long value, int minDigits)
{
    // Written backwards from the end of the buffer.
    char digits[24];
    char* first = digits + sizeof digits - 1;
    *first = '\0';
    do {
        *--first = static_cast<char>('0' + value % 10);
        value /= 10;
        --minDigits;
    } while ((value != 0 || minDigits > 0) && first > digits);
    return appendText(out, size, first);
}

}  // namespace setup
