#include "highscore/ansi_text.h"

#include <iconv.h>

namespace kv {
namespace {

constexpr char kReplacement = '?';

// One iconv descriptor. Every text gets its own, so no shift state leaks between texts.
class Conversion {
public:
    Conversion(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~Conversion()
    {
        if (available()) iconv_close(descriptor_);
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    // False when the C library has no such converter (e.g. its modules are not installed).
    bool available() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the first character of `input` into `output` (at most `capacity` bytes are
    // expected) and returns how many input bytes it took; 0 when they form no character that
    // can be converted.
    std::size_t convertFirst(std::string_view input, std::string& output, std::size_t capacity)
    {
        char buffer[8];
        if (capacity > sizeof buffer) capacity = sizeof buffer;
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = capacity;
        iconv(descriptor_, &in, &inLeft, &out, &outLeft);  // E2BIG after one character is fine
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        output.append(buffer, out);
        return input.size() - inLeft;
    }

private:
    iconv_t descriptor_;
};

// Calls `visit` with the bytes of each character of `utf8` in order, and with an empty view for
// each byte that belongs to no well-formed sequence, until `visit` returns false.
template <typename Visit>
void forEachCharacter(std::string_view utf8, Visit visit)
{
    Conversion decoder("UTF-32LE", "UTF-8");
    std::string scratch;
    while (!utf8.empty()) {
        std::size_t length = 0;
        if (decoder.available()) {
            scratch.clear();
            length = decoder.convertFirst(utf8, scratch, 4);  // room for exactly one character
        } else if (static_cast<unsigned char>(utf8.front()) < 0x80) {
            length = 1;
        }
        if (!visit(utf8.substr(0, length))) return;
        utf8.remove_prefix(length == 0 ? 1 : length);
    }
}

std::string cut(std::string_view utf8, std::size_t maxCharacters, std::size_t& count)
{
    std::string result;
    count = 0;
    forEachCharacter(utf8, [&](std::string_view character) {
        if (count == maxCharacters) return false;
        ++count;
        if (character.empty()) result += kReplacement;
        else result += character;
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
    Conversion encoder("WINDOWS-1252", "UTF-8");
    std::string result;
    forEachCharacter(utf8, [&](std::string_view character) {
        if (character.size() == 1 && static_cast<unsigned char>(character.front()) < 0x80) {
            result += character.front();  // ASCII is the same in both
        } else if (character.empty() || !encoder.available() ||
                   encoder.convertFirst(character, result, 1) != character.size()) {
            result += kReplacement;
        }
        return true;
    });
    return result;
}

std::string fromWindows1252(std::string_view bytes)
{
    Conversion decoder("UTF-8", "WINDOWS-1252");
    std::string result;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::string_view byte = bytes.substr(i, 1);
        if (static_cast<unsigned char>(byte.front()) < 0x80) {
            result += byte;
        } else if (!decoder.available() || decoder.convertFirst(byte, result, 3) != 1) {
            result += kReplacement;
        }
    }
    return result;
}

}  // namespace kv
