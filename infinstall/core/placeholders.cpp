#include "infinstall/core/placeholders.h"

#include <algorithm>
#include <cctype>

namespace infinstall {
namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isNumber(const std::string& text)
{
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

Placeholders::Placeholders(const InfFile& inf) : inf_(inf)
{
    if (const InfSection* strings = inf.section("Strings")) {
        for (const InfLine& line : strings->lines) {
            if (!line.hasKey || line.fields.size() != 1)
                throw inf.error(line.number, "In [Strings] gehört zu jedem Namen genau ein Text.");
            strings_.emplace(lowered(line.key), line.fields.front());
        }
    }
}

const std::string* Placeholders::folder(int dirid) const
{
    const auto it = folders_.find(dirid);
    return it == folders_.end() ? nullptr : &it->second;
}

std::string Placeholders::expand(const std::string& text, int line) const
{
    std::string out;
    size_t at = 0;
    while (true) {
        const size_t open = text.find('%', at);
        out.append(text, at, open == std::string::npos ? std::string::npos : open - at);
        if (open == std::string::npos)
            return out;
        const size_t close = text.find('%', open + 1);
        if (close == std::string::npos)
            throw inf_.error(line, "Dem Platzhalter in \"" + text + "\" fehlt das schließende \"%\".");
        const std::string name = text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            out += '%';
        } else if (isNumber(name)) {
            const std::string* path = folder(std::stoi(name));
            if (!path)
                throw inf_.error(line, "Die Ordnernummer %" + name + "% ist hier unbekannt.");
            out += *path;
        } else {
            const auto it = strings_.find(lowered(name));
            if (it == strings_.end())
                throw inf_.error(line, "Der Text %" + name + "% fehlt in [Strings].");
            out += it->second;
        }
        at = close + 1;
    }
}

}  // namespace infinstall
