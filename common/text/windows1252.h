#pragma once
// Windows-1252, the code page of every text the game's files, the setup's package and the
// INF scripts carry, converted from and to the UTF-8 the programs work in. Each caller picks
// the policy its format asks for; the conversion itself is the C library's (iconv).
#include <stddef.h>

#include "common/text/utf8_characters.h"

namespace common {

// What becomes of a character the other side lacks: when decoding, the five bytes
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D); when encoding, a character
// the code page lacks or a byte of broken UTF-8 (one '?' per character, or per stray byte).
enum class Unmappable : unsigned char { Refuse, QuestionMark };

// What is done when the C library has no Windows-1252 converter (its modules not installed).
enum class WithoutConverter : unsigned char {
    AsciiOnly,  // ASCII is the same in both; every other byte counts as unmappable
    Latin1,     // decoding: 0xA0–0xFF as Latin-1, which Windows-1252 agrees with; 0x80–0x9F
                // count as unmappable. Encoding treats it as AsciiOnly.
    Fail,       // Converted::NoConverter, with errno from iconv_open
};

struct Windows1252Policy {
    Unmappable unmappable;
    WithoutConverter withoutConverter;
};

enum class Converted : unsigned char {
    Done,         // the whole text
    DoesNotFit,   // `out` was too small
    Refused,      // an unmappable character under Unmappable::Refuse; errno tells what iconv
                  // found (EILSEQ, or EINVAL for a sequence cut off at the end)
    NoConverter,  // under WithoutConverter::Fail, with errno from iconv_open
};

// What a conversion did, and how many bytes it wrote before the NUL (a NUL in the text is
// converted like any other character). Unless it is Done, `out` is left empty: no caller
// wants half a text.
struct Conversion {
    Converted status;
    size_t length;
};

// How many input bytes one '?' stands for, from where a conversion stopped; none for a
// policy that refuses.
using UnmappableLength = size_t (*)(const char* in, size_t left);
size_t oneWindows1252Byte(const char* in, size_t left);

enum class Direction : unsigned char { FromWindows1252, ToWindows1252 };

// The conversion itself, one function for every policy so that a program carries it once;
// callers use the two templates below, which fill in their policy.
Conversion convertWindows1252(Direction direction, char* out, size_t size, const char* text, size_t length,
                              WithoutConverter withoutConverter, UnmappableLength unmappableLength);

// `length` Windows-1252 bytes as UTF-8 into `out`, at most `size` (> 0) bytes with the NUL
// that always ends it. No character takes more than 3 bytes in UTF-8.
template <Windows1252Policy kPolicy>
Conversion windows1252ToUtf8(char* out, size_t size, const char* bytes, size_t length)
{
    return convertWindows1252(Direction::FromWindows1252, out, size, bytes, length, kPolicy.withoutConverter,
                              kPolicy.unmappable == Unmappable::Refuse ? nullptr : oneWindows1252Byte);
}

// `length` bytes of UTF-8 as Windows-1252 into `out`, terminated as above. The result is
// never longer than the UTF-8 text. A policy that refuses needs no character boundaries,
// so a program that only refuses (the setup, whose image counts every byte) does not carry
// the code that finds them.
template <Windows1252Policy kPolicy>
Conversion utf8ToWindows1252(char* out, size_t size, const char* utf8, size_t length)
{
    return convertWindows1252(Direction::ToWindows1252, out, size, utf8, length, kPolicy.withoutConverter,
                              kPolicy.unmappable == Unmappable::Refuse ? nullptr : utf8CharacterOrByteLength);
}

}  // namespace common
