#include "common/text/windows1252.h"

#include <errno.h>
#include <iconv.h>

namespace common {
namespace {

// The caller's buffer, one byte of it kept back for the NUL.
struct Output {
    char* put;
    size_t room;

    bool append(unsigned char byte)
    {
        if (room == 0)
            return false;
        *put++ = static_cast<char>(byte);
        --room;
        return true;
    }
};

// Stands in for the converter: ASCII passes, and with `latin1` so does the upper quarter of
// a Windows-1252 text; every other byte is unmappable.
Converted withoutConverter(Output& out, const char* text, size_t length, bool latin1,
                           UnmappableLength unmappableLength)
{
    while (length > 0) {
        const unsigned char byte = static_cast<unsigned char>(*text);
        size_t used = 1;
        if (byte < 0x80) {
            if (!out.append(byte))
                return Converted::DoesNotFit;
        } else if (latin1 && byte >= 0xA0) {
            if (out.room < 2)
                return Converted::DoesNotFit;
            out.append(static_cast<unsigned char>(0xC0 | (byte >> 6)));
            out.append(static_cast<unsigned char>(0x80 | (byte & 0x3F)));
        } else if (!unmappableLength) {
            errno = EILSEQ;
            return Converted::Refused;
        } else {
            if (!out.append('?'))
                return Converted::DoesNotFit;
            used = unmappableLength(text, length);
        }
        text += used;
        length -= used;
    }
    return Converted::Done;
}

}  // namespace

size_t oneWindows1252Byte(const char*, size_t)
{
    return 1;
}

Conversion convertWindows1252(Direction direction, char* buffer, size_t size, const char* text, size_t length,
                              WithoutConverter fallback, UnmappableLength unmappableLength)
{
    const bool decoding = direction == Direction::FromWindows1252;
    Output out{buffer, size - 1};
    Converted result = Converted::Done;
    iconv_t converter = decoding ? iconv_open("UTF-8", "WINDOWS-1252") : iconv_open("WINDOWS-1252", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        result = fallback == WithoutConverter::Fail
                     ? Converted::NoConverter
                     : withoutConverter(out, text, length, decoding && fallback == WithoutConverter::Latin1,
                                        unmappableLength);
    } else {
        char* in = const_cast<char*>(text);
        // Each failure but E2BIG (EILSEQ, or EINVAL for a UTF-8 sequence cut off at the end)
        // stops iconv in front of what it cannot convert.
        while (length > 0 && iconv(converter, &in, &length, &out.put, &out.room) == static_cast<size_t>(-1)) {
            if (errno != E2BIG && !unmappableLength) {
                result = Converted::Refused;
                break;
            }
            if (errno == E2BIG || !out.append('?')) {
                result = Converted::DoesNotFit;
                break;
            }
            const size_t used = unmappableLength(in, length);
            in += used;
            length -= used;
        }
        // glibc's iconv_close leaves errno alone, so it still tells why a text was refused.
        iconv_close(converter);
    }
    if (result != Converted::Done)
        out.put = buffer;
    *out.put = '\0';
    return {result, static_cast<size_t>(out.put - buffer)};
}

}  // namespace common
