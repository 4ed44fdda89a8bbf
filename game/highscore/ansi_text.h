// Conversion between the UTF-8 texts the program works with and the one-byte-per-character
// Windows-1252 texts of the highscore file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// The first `maxCharacters` characters of `utf8`. Characters are counted, not bytes; every byte
// that is not part of a well-formed UTF-8 sequence counts as one character and becomes '?', so
// the result is always valid UTF-8.
std::string cutToCharacters(std::string_view utf8, std::size_t maxCharacters);

// `utf8` cut as above and padded with blanks on the right to exactly `width` characters.
std::string fitToCharacters(std::string_view utf8, std::size_t width);

// One byte per character of `utf8`. Characters that Windows-1252 lacks become '?'.
std::string toWindows1252(std::string_view utf8);

// The UTF-8 text of Windows-1252 bytes. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become '?', so that writing the text back keeps one byte per character.
std::string fromWindows1252(std::string_view bytes);

}  // namespace kv
