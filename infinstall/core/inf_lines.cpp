#include "infinstall/core/inf_lines.h"

#include <cstdio>

#include "infinstall/core/inf_error.h"
#include "infinstall/core/windows_1252.h"

namespace infinstall {
namespace {

// Why a line with a control character (other than the tab) is refused, or empty when it has
// none. The character would cut or garble every message that quotes the name it is in.
std::string controlCharacterProblem(std::string_view line)
{
    for (size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '\t' || (c >= 0x20 && c != 0x7f))
            continue;
        const std::string at = " an Stelle " + std::to_string(i + 1) + ".";
        if (c == 0)
            return "Die Zeile enthält ein Nullzeichen (Byte 0)" + at;
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("Die Zeile enthält das Steuerzeichen ") + hex + at;
    }
    return {};
}

std::string tooLong()
{
    return "Die Zeile ist länger als " + std::to_string(kMaxInfLineChars) + " Zeichen.";
}

// The physical lines, without their line ends.
std::vector<std::string_view> physicalLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

LogicalLines::LogicalLines(const std::string& path, std::string_view bytes)
    : path_(path), lines_(physicalLines(bytes))
{
}

bool LogicalLines::next(std::string& text, int& number)
{
    if (index_ >= lines_.size())
        return false;
    number = static_cast<int>(index_) + 1;
    text.clear();
    size_t length = 0;  // of the physical lines joined so far, comments included
    bool quoted = false;
    while (true) {
        if (index_ >= lines_.size())
            throw InfError(path_, number, "Die Fortsetzungszeile fehlt am Dateiende.");
        const std::string_view raw = lines_[index_];
        const int rawNumber = static_cast<int>(index_) + 1;
        length += raw.size();
        if (length > kMaxInfLineChars)
            throw InfError(path_, rawNumber, tooLong());
        if (const std::string problem = controlCharacterProblem(raw); !problem.empty())
            throw InfError(path_, rawNumber, problem);
        if (!decodeWindows1252(raw, decoded_))
            throw InfError(path_, rawNumber, "Die Zeile ist kein Windows-1252-Text.");
        ++index_;
        size_t end = decoded_.size();
        for (size_t i = 0; i < decoded_.size(); ++i) {
            if (decoded_[i] == '"')
                quoted = !quoted;
            else if (decoded_[i] == ';' && !quoted) {
                end = i;
                break;
            }
        }
        std::string_view part = decoded_;
        part = part.substr(0, end);
        while (!part.empty() && (part.back() == ' ' || part.back() == '\t'))
            part.remove_suffix(1);
        if (!quoted && !part.empty() && part.back() == '\\') {
            part.remove_suffix(1);
            text.append(part);
            continue;
        }
        text.append(part);
        if (quoted)
            throw InfError(path_, number, "Ein Anführungszeichen wird nicht geschlossen.");
        return true;
    }
}

}  // namespace infinstall
