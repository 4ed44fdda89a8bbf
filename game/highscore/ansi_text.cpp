#include "game/highscore/ansi_text.h"

#include "common/text/utf8_characters.h"
#include "common/text/windows1252.h"

namespace kv {
namespace {

constexpr char kReplacement = '?';

// A name or date in the file always keeps its width: whatever cannot be converted either way
// becomes one '?' per character, with or without the C library's converter.
constexpr common::Windows1252Policy kFieldPolicy{common::Unmappable::QuestionMark,
                                                 common::WithoutConverter::AsciiOnly};

// Calls `visit` with the bytes of each character of `utf8` in order, and with an empty view for
// each byte that belongs to no well-formed sequence, until `visit` returns false.
template <typename Visit>
void forEachCharacter(std::string_view utf8, Visit visit)
{
    while (!utf8.empty()) {
        const std::size_t length = common::utf8CharacterLength(utf8.data(), utf8.size());
        if (!visit(utf8.substr(0, length)))
            return;
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
}

std::string cut(std::string_view utf8, std::size_t maxCharacters, std::size_t& count)
{
    std::string result;
    count = 0;
    forEachCharacter(utf8, [&](std::string_view character) {
        if (count == maxCharacters)
            return false;
        ++count;
        if (character.empty())
            result += kReplacement;
        else
            result += character;
        return true;
    });
    return result;
}

}  // namespace

std::string cutToCharacters(std::string_view utf8, std::size_t maxCharacters)
{
    std::size_t count = 0;
    return cut(utf8, maxCharacters, count);
}

std::string fitToCharacters(std::string_view utf8, std::size_t width)
{
    std::size_t count = 0;
    std::string result = cut(utf8, width, count);
    result.append(width - count, ' ');
    return result;
}

std::string toWindows1252(std::string_view utf8)
{
    std::string result(utf8.size() + 1, '\0');  // one byte per character at most, and the NUL
    result.resize(
        common::utf8ToWindows1252<kFieldPolicy>(result.data(), result.size(), utf8.data(), utf8.size())
            .length);
    return result;
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string result(3 * bytes.size() + 1, '\0');  // no character takes more than 3 bytes
    result.resize(
        common::windows1252ToUtf8<kFieldPolicy>(result.data(), result.size(), bytes.data(), bytes.size())
            .length);
    return result;
}

}  // namespace kv
