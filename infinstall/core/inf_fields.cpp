#include "infinstall/core/inf_fields.h"

#include <cctype>

namespace infinstall {

size_t IgnoringCaseHash::operator()(std::string_view text) const
{
    size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
    for (unsigned char c : text) {
        hash ^= static_cast<unsigned char>(std::tolower(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string unquote(std::string_view raw)
{
    std::string out;
    raw = trim(raw);
    bool quoted = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '"') {
            out += c;
        } else if (quoted && i + 1 < raw.size() && raw[i + 1] == '"') {
            out += '"';
            ++i;
        } else {
            quoted = !quoted;
        }
    }
    return out;
}

std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator, bool once)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
            if (once)
                break;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> splitFields(std::string_view text, char separator)
{
    std::vector<std::string> fields;
    for (std::string_view part : splitOutsideQuotes(text, separator, false))
        fields.push_back(unquote(part));
    return fields;
}

}  // namespace infinstall
