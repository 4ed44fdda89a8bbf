#pragma once
// The text of one INF line taken apart: names compared without regard to case, fields split at
// separators outside quotes, trimmed and unquoted.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace infinstall {

bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Hashing and comparing names without regard to case (ASCII letters, as equalsIgnoringCase),
// for maps looked up by any string_view.
struct IgnoringCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
};
struct IgnoringCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoringCase(a, b); }
};
template <typename Value>
using IgnoringCaseMap = std::unordered_map<std::string, Value, IgnoringCaseHash, IgnoringCaseEqual>;

// `text` without blanks and tabs at either end.
std::string_view trim(std::string_view text);

// One field or key: blanks around it go, quotes are removed and "" inside quotes is one ".
std::string unquote(std::string_view raw);

// Splits at `separator` outside quotes, at most once when `once`.
std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator, bool once);

// Splits `text` at `separator` where it is not inside quotes; each part is trimmed and unquoted
// like a field of an INF line. Used for the lists INF fields carry inside themselves.
std::vector<std::string> splitFields(std::string_view text, char separator);

}  // namespace infinstall
