// A text field of a fixed number of characters, like the name and date of a highscore entry.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "game/highscore/ansi_text.h"

namespace kv {

// Always holds exactly `Width` characters of valid UTF-8: an assigned text is cut to its first
// `Width` characters or padded on the right with blanks, so reading it back yields the full
// field, trailing blanks included. An empty text gives blanks only.
template <std::size_t Width>
class FixedWidthText {
public:
    static constexpr std::size_t width = Width;

    FixedWidthText() : text_(Width, ' ') {}
    FixedWidthText(std::string_view utf8) : text_(fitToCharacters(utf8, Width)) {}
    FixedWidthText(const char* utf8) : FixedWidthText(std::string_view(utf8)) {}
    FixedWidthText(const std::string& utf8) : FixedWidthText(std::string_view(utf8)) {}

    const std::string& str() const { return text_; }
    operator const std::string&() const { return text_; }

    bool operator==(const FixedWidthText&) const = default;

private:
    std::string text_;
};

}  // namespace kv
