#pragma once
// Escaping for the text formats the installer writes (desktop entries, polkit's XML): each
// character with a replacement is written as that replacement, every other one as it is.
#include <initializer_list>
#include <string>
#include <utility>

namespace infinstall {

using Replacements = std::initializer_list<std::pair<char, const char*>>;

inline std::string replacingEach(const std::string& text, Replacements replacements)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const char* replacement = nullptr;
        for (const auto& [from, to] : replacements)
            if (c == from)
                replacement = to;
        if (replacement != nullptr)
            out += replacement;
        else
            out += c;
    }
    return out;
}

}  // namespace infinstall
